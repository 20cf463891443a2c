#!/usr/bin/env python3
"""Packs the built control for the web: a signed Korvendal.cab holding the signed 32-bit
Korvendal.ocx and the Korvendal.inf that the browser's code download reads, the signed x64
Korvendal.ocx for 64-bit hosts, and the <object> snippet for page authors.

usage: package.py --build BUILD [--out DIR] [--allow-site ENTRY]...
                  [--cert FILE --key FILE | --pkcs12 FILE] [--password-file FILE]
                  [--timestamp URL]

BUILD holds the x86/ and x64/ build trees. Without a certificate of the publisher's own, a
test certificate authority and a code-signing certificate are made in DIR/test-ca/ (and
kept for later runs, so that a machine trusting that authority once keeps trusting it).
With --allow-site, both controls carry that list of sites (allowed_sites.py) and refuse to
work on pages from any other; the signature then covers the list.
"""
import argparse
import os
import re
import secrets
import shutil
import subprocess
import sys
import tempfile

import allowed_sites

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OCX = "Korvendal.ocx"
INF = "Korvendal.inf"
CAB = "Korvendal.cab"
SNIPPET = "korvendal-object.html"


class PackageError(Exception):
    pass


def read_file_version(rc_text):
    """"1,0,1,7" from the FILEVERSION line of the module's resource script."""
    found = re.search(r"^\s*FILEVERSION\s+(\d+)\s*,\s*(\d+)\s*,\s*(\d+)\s*,\s*(\d+)\s*$", rc_text, re.M)
    if not found:
        raise PackageError("no FILEVERSION line in the resource script")
    return ",".join(found.groups())


def read_class_id(idl_text, coclass="Installer"):
    """"{GUID}" of the coclass from the type library source: the uuid() of the attribute
    block right before "coclass NAME"."""
    found = re.search(r"uuid\(([0-9A-Fa-f-]{36})\)[^\[\]]*\]\s*coclass\s+" + re.escape(coclass) + r"\b",
                      idl_text)
    if not found:
        raise PackageError(f"no uuid for coclass {coclass} in the type library source")
    return "{" + found.group(1).upper() + "}"


def inf_text(file_name, class_id, version):
    """The INF the code download reads from the cabinet: the file comes from the cabinet
    itself (thiscab) and is registered through its DllRegisterServer once it is in place.
    Line ends are CR LF as Windows' own INF files have."""
    lines = [
        "; Installs the Korvendal control from the cabinet it is packed in.",
        "[version]",
        'signature="$CHICAGO$"',
        "AdvancedINF=2.0",
        "",
        "[Add.Code]",
        f"{file_name}={file_name}",
        "",
        f"[{file_name}]",
        "file-win32-x86=thiscab",
        f"clsid={class_id}",
        f"FileVersion={version}",
        "RegisterServer=yes",
    ]
    return "\r\n".join(lines) + "\r\n"


def object_snippet(class_id, version, cab_name=CAB):
    """The element and the scripts a page author copies. The page names the folder that
    holds the skin archive and the program; the example values are meant to be replaced."""
    return f"""<!-- Korvendal: the control, installed from {cab_name} when missing or older than {version}.
     Put {cab_name} beside the page (or give its full address in codebase). -->
<object id="Installer" classid="clsid:{class_id.strip("{}")}"
        codebase="{cab_name}#version={version}" width="378" height="311"></object>

<script for="Installer" event="OnCreate()" language="JScript">
  // The control's window exists; the page's scripts run after this.
</script>

<script for="Installer" event="OnClose()" language="JScript">
  // The user closed the control's window.
  window.close();
</script>

<script language="JScript">
try {{
  // Where the control keeps the unpacked skin, below the user's temporary folder.
  Installer.BasePath = "MyCompany\\\\MyProduct";
  // The skin archive, in the same server folder as the program.
  Installer.InfoFileName = "skin.zip";
  Installer.Init("http://www.example.com/download/", "setup.exe");
  // Init returned: the window waits for the user to start the download.
}} catch (e) {{
  // The control is missing (the user refused it) or Init failed; e.description says why.
  alert("Korvendal: " + (e.description || e.message || e.number));
}}
</script>
"""


def run(args, what):
    done = subprocess.run(args, capture_output=True, text=True)
    if done.returncode != 0:
        raise PackageError(f"{what} failed ({done.returncode}): {done.stderr.strip() or done.stdout.strip()}")
    return done.stdout


def make_test_authority(folder):
    """A self-signed test authority and a code-signing certificate issued by it; kept when
    already there. Gives (certificate, key) of the code-signing certificate."""
    ca_cert, ca_key = os.path.join(folder, "ca.crt"), os.path.join(folder, "ca.key")
    cert, key = os.path.join(folder, "codesign.crt"), os.path.join(folder, "codesign.key")
    if all(os.path.exists(p) for p in (ca_cert, ca_key, cert, key)):
        return cert, key
    os.makedirs(folder, exist_ok=True)
    os.chmod(folder, 0o700)
    run(["openssl", "req", "-x509", "-newkey", "rsa:3072", "-nodes", "-sha256", "-days", "3650",
         "-keyout", ca_key, "-out", ca_cert, "-subj", "/O=Korvendal/CN=Korvendal Test Authority",
         "-addext", "basicConstraints=critical,CA:TRUE",
         "-addext", "keyUsage=critical,keyCertSign,cRLSign"], "making the test authority")
    extensions = os.path.join(folder, "codesign.ext")
    with open(extensions, "w") as f:
        f.write("basicConstraints=critical,CA:FALSE\n"
                "keyUsage=critical,digitalSignature\n"
                "extendedKeyUsage=codeSigning\n"
                "subjectKeyIdentifier=hash\n"
                "authorityKeyIdentifier=keyid\n")
    request = os.path.join(folder, "codesign.csr")
    run(["openssl", "req", "-newkey", "rsa:3072", "-nodes", "-sha256", "-keyout", key, "-out", request,
         "-subj", "/O=Korvendal/CN=Korvendal Test Publisher"], "making the code-signing key")
    run(["openssl", "x509", "-req", "-sha256", "-days", "825", "-in", request, "-CA", ca_cert,
         "-CAkey", ca_key, "-set_serial", "0x" + secrets.token_hex(16), "-extfile", extensions,
         "-out", cert], "issuing the code-signing certificate")
    os.remove(request)
    for private in (ca_key, key):
        os.chmod(private, 0o600)
    return cert, key


class Signer:
    """Signs files with Authenticode through osslsigncode, with a certificate and key in PEM
    or DER files or with one PKCS#12 file."""

    def __init__(self, cert=None, key=None, pkcs12=None, password_file=None, timestamp=None):
        if pkcs12:
            self.credentials = ["-pkcs12", pkcs12]
        else:
            self.credentials = ["-certs", cert, "-key", key]
        if password_file:
            self.credentials += ["-readpass", password_file]
        self.timestamp = ["-ts", timestamp] if timestamp else []

    def sign(self, source, target):
        if os.path.exists(target):
            os.remove(target)
        run(["osslsigncode", "sign", *self.credentials, "-h", "sha256", "-n", "Korvendal",
             *self.timestamp, "-in", source, "-out", target], f"signing {os.path.basename(source)}")


def stripped(ocx, machine, staging):
    """A copy of the control without its debugging information (a build with it is several
    times the size, and a user downloads it); gives the copy's path."""
    copy = os.path.join(staging, f"{machine}-{OCX}")
    run([f"{machine}-w64-mingw32-strip", "--strip-debug", "-o", copy, ocx], f"stripping {ocx}")
    return copy


def prepared(ocx, machine, staging, sites):
    """The stripped copy of the control, with the list of allowed sites packed in when
    there is one; gives the copy's path."""
    copy = stripped(ocx, machine, staging)
    if not sites:
        return copy
    listed = os.path.join(staging, f"{machine}-sites-{OCX}")
    try:
        allowed_sites.pack_file(copy, listed, sites)
    except allowed_sites.SitesError as error:
        raise PackageError(f"--allow-site: {error}")
    return listed


def package(build, out, signer, sources=ROOT, sites=()):
    """Writes the cabinet, the INF, the x64 control and the snippet into `out`; `sites` is
    the list of allowed sites both controls carry (none: every site)."""
    x86_ocx, x64_ocx = os.path.join(build, "x86", OCX), os.path.join(build, "x64", OCX)
    for built in (x86_ocx, x64_ocx):
        if not os.path.isfile(built):
            raise PackageError(f"{built} is not built")
    with open(os.path.join(sources, "control", "module", "korvendal.rc"), encoding="utf-8") as f:
        version = read_file_version(f.read())
    with open(os.path.join(sources, "control", "module", "korvendal.idl"), encoding="utf-8") as f:
        class_id = read_class_id(f.read())

    os.makedirs(os.path.join(out, "x64"), exist_ok=True)
    inf = inf_text(OCX, class_id, version)
    with open(os.path.join(out, INF), "w", newline="") as f:
        f.write(inf)
    with tempfile.TemporaryDirectory(prefix="kv-package-") as staging:
        # The control is signed before it goes in, since the browser checks it again when
        # it registers the file taken out of the cabinet.
        signer.sign(prepared(x86_ocx, "i686", staging, sites), os.path.join(staging, OCX))
        shutil.copyfile(os.path.join(out, INF), os.path.join(staging, INF))
        unsigned = os.path.join(staging, CAB)
        run(["gcab", "--create", "--nopath", "--zip", unsigned,
             os.path.join(staging, OCX), os.path.join(staging, INF)], "making the cabinet")
        signer.sign(unsigned, os.path.join(out, CAB))
        signer.sign(prepared(x64_ocx, "x86_64", staging, sites), os.path.join(out, "x64", OCX))
    with open(os.path.join(out, SNIPPET), "w", encoding="utf-8") as f:
        f.write(object_snippet(class_id, version))
    return [os.path.join(out, name) for name in (CAB, INF, os.path.join("x64", OCX), SNIPPET)]


def main(argv=None):
    parser = argparse.ArgumentParser(description="Packs Korvendal.ocx into a signed cabinet.")
    parser.add_argument("--build", required=True, help="folder holding the x86/ and x64/ build trees")
    parser.add_argument("--out", help="where the package goes (BUILD/dist unless given)")
    parser.add_argument("--allow-site", action="append", default=[], metavar="ENTRY",
                        help="a site the control works for (repeatable): https://example.com, "
                             "https://*.example.com, http://127.0.0.1:8080 or file://")
    parser.add_argument("--cert", help="the publisher's code-signing certificate (PEM or DER)")
    parser.add_argument("--key", help="the private key of --cert")
    parser.add_argument("--pkcs12", help="the publisher's certificate and key in one PKCS#12 file")
    parser.add_argument("--password-file", help="file holding the password of the key or PKCS#12 file")
    parser.add_argument("--timestamp", help="address of an RFC 3161 time-stamping service")
    args = parser.parse_args(argv)
    out = os.path.abspath(args.out or os.path.join(args.build, "dist"))
    if args.pkcs12 and (args.cert or args.key):
        parser.error("give --pkcs12 or --cert with --key, not both")
    if bool(args.cert) != bool(args.key):
        parser.error("--cert and --key go together")
    try:
        if args.pkcs12 or args.cert:
            signer = Signer(args.cert, args.key, args.pkcs12, args.password_file, args.timestamp)
        else:
            cert, key = make_test_authority(os.path.join(out, "test-ca"))
            signer = Signer(cert, key, timestamp=args.timestamp)
            print(f"signed with the test authority {os.path.join(out, 'test-ca', 'ca.crt')}")
        if args.allow_site:
            print("allowed sites: " + " ".join(args.allow_site))
        for written in package(os.path.abspath(args.build), out, signer, sites=args.allow_site):
            print(f"WROTE {written}")
    except PackageError as error:
        print(f"package: {error}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
