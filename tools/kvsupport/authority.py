"""A certificate authority made on the spot with openssl, for servers that speak TLS on
loopback in the tests and the benchmark; kvtool trust-ca makes the project's prefix trust it.

    ca = TestAuthority(folder)
    cert, key = ca.issue("site")                      # localhost and 127.0.0.1
    cert, key = ca.issue("old", not_after="20200101000000Z", not_before="20190101000000Z")
"""
import os
import subprocess
import uuid

CONFIG = """[ca]
default_ca = test
[test]
dir = {dir}
database = {dir}/index.txt
new_certs_dir = {dir}/issued
serial = {dir}/serial
default_md = sha256
policy = anything
copy_extensions = none
unique_subject = no
[anything]
commonName = supplied
"""


def _openssl(*args):
    subprocess.run(["openssl"] + list(args), check=True, stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)


def _ec_key_args():
    return ["-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes"]


def _rsa_key_args():
    return ["-newkey", "rsa:2048", "-nodes"]


class TestAuthority:
    def __init__(self, folder, name="Korvendal Test TLS Authority"):
        self.dir = os.path.abspath(folder)
        os.makedirs(os.path.join(self.dir, "issued"), exist_ok=True)
        with open(os.path.join(self.dir, "index.txt"), "w"):
            pass
        with open(os.path.join(self.dir, "serial"), "w") as f:
            f.write("1000\n")
        self.config = os.path.join(self.dir, "ca.cnf")
        with open(self.config, "w") as f:
            f.write(CONFIG.format(dir=self.dir))
        self.cert = os.path.join(self.dir, "ca.pem")
        self.key = os.path.join(self.dir, "ca.key")
        # Each authority's name is its own: chain building finds an issuer by its name, so
        # two authorities of one name trusted at once (two tests side by side) would let a
        # certificate of the one be checked against the other's key, and fail as untrusted.
        unique = f"{name} {uuid.uuid4().hex[:12]}"
        # The authority signs with RSA. Wine's crypt32 checks an ECDSA signature by joining r
        # and s as they are encoded, without padding either to the curve's size, so one
        # signature in about 128 (an r or s with a leading zero byte) was judged invalid and
        # the certificate untrusted. The servers' own keys stay EC.
        _openssl("req", "-x509", *_rsa_key_args(), "-sha256", "-days", "30",
                 "-keyout", self.key, "-out", self.cert, "-subj", f"/O=Korvendal/CN={unique}",
                 "-addext", "basicConstraints=critical,CA:TRUE",
                 "-addext", "keyUsage=critical,keyCertSign,cRLSign")

    def issue(self, stem, dns=("localhost",), ips=("127.0.0.1",),
              not_before=None, not_after=None):
        """(certificate, key) paths of a server certificate for the names given; dates as
        YYYYMMDDHHMMSSZ, by default from an hour ago for 30 days. The certificate file
        holds the server's certificate only."""
        cert = os.path.join(self.dir, stem + ".pem")
        key = os.path.join(self.dir, stem + ".key")
        request = os.path.join(self.dir, stem + ".csr")
        ext = os.path.join(self.dir, stem + ".ext")
        # Wine matches the name asked for against DNS-type names only, so an address is
        # written both ways.
        names = [f"DNS:{d}" for d in list(dns) + list(ips)] + [f"IP:{i}" for i in ips]
        with open(ext, "w") as f:
            f.write("basicConstraints=critical,CA:FALSE\n"
                    "keyUsage=critical,digitalSignature\n"
                    "extendedKeyUsage=serverAuth\n"
                    + (f"subjectAltName={','.join(names)}\n" if names else ""))
        _openssl("req", *_ec_key_args(), "-keyout", key, "-out", request,
                 "-subj", f"/CN={(list(dns) + list(ips))[0]}")
        dates = ["-startdate", not_before] if not_before else []
        dates += ["-enddate", not_after] if not_after else ["-days", "30"]
        _openssl("ca", "-batch", "-config", self.config, "-cert", self.cert, "-keyfile", self.key,
                 "-in", request, "-out", cert, "-extfile", ext, "-notext", *dates)
        os.chmod(key, 0o644)  # nginx's worker reads it as another user
        return cert, key
