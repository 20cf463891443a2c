"""The tests' certificate authority (tools/kvsupport/authority.py), trusted and untrusted in
the project's Wine prefix through kvtool.

    ca = TestAuthority(folder)
    cert, key = ca.issue("site")
    ca.trust()      # and ca.untrust() when done
"""
import harness
from kvsupport.authority import TestAuthority as _Authority


class TestAuthority(_Authority):
    def trust(self):
        """Adds the authority to the trusted roots of the project's Wine prefix."""
        self._kvtool("trust-ca")

    def untrust(self):
        self._kvtool("untrust-ca")

    def _kvtool(self, command):
        result = harness.wine([harness.program("kvtool.exe"), command, harness.winpath(self.cert)])
        if result.returncode != 0:
            raise RuntimeError(f"kvtool {command} failed: {result.stderr!r}")
