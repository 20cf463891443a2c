"""Script behaviour of the host with pages that embed no control: the window object's
alert() and close(), document order of blocks, and how script errors end the run."""
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from host_pages import harness, run_page  # noqa: E402


class WindowObject(unittest.TestCase):
    def test_alert_prints_each_value_as_script_writes_it(self):
        run = run_page("""<html><body>
<script language="JScript">
var n = 1;
if (n < 2) alert("설치 " + (n + 1) + " </b>");
alert(true); alert(null); alert(1.5); alert();
window.alert('창');
window.close();
</script></body></html>""")
        self.assertEqual(run.status, 0, run)
        self.assertEqual(run.alerts, ["설치 2 </b>", "true", "null", "1.5", "", "창"])
        self.assertEqual(run.stderr, "")

    def test_close_ends_the_page_after_the_running_block(self):
        run = run_page("""<script>alert("first"); close(); alert("same block");</script>
<script>alert("next block");</script>""")
        self.assertEqual(run.status, 0, run)
        self.assertEqual(run.alerts, ["first", "same block"])

    def test_blocks_run_in_document_order_and_share_globals(self):
        run = run_page("""<SCRIPT LANGUAGE="javascript">var order = ["a"];</SCRIPT>
<p>text with a < sign</p>
<Script type="text/javascript">order.push("b");</Script>
<!-- <script>order.push("commented");</script> -->
<script>order.push("c"); alert(order.join(",")); window.close();</script>""")
        self.assertEqual(run.status, 0, run)
        self.assertEqual(run.alerts, ["a,b,c"])

    def test_handlers_for_an_absent_object_never_run(self):
        run = run_page("""<script for="Nothing" event="OnCreate()">alert("handler");</script>
<script>alert("plain"); close();</script>""")
        self.assertEqual(run.status, 0, run)
        self.assertEqual(run.alerts, ["plain"])


class BrokenObjects(unittest.TestCase):
    def test_unregistered_or_malformed_class_ids_fail_the_run_but_not_the_page(self):
        run = run_page("""<object id="Missing" classid="clsid:0BADC0DE-0000-4000-8000-000000000001"></object>
<object id="Odd" classid="progid:Some.Thing"></object>
<script>alert(typeof Missing + " " + typeof Odd); close();</script>""")
        self.assertEqual(run.status, 1, run)
        self.assertEqual(run.alerts, ["undefined undefined"])
        self.assertIn("object Missing: cannot create clsid:0BADC0DE-0000-4000-8000-000000000001: 0x80040154",
                      run.stderr)
        self.assertIn('object Odd: classid "progid:Some.Thing" is not of the form clsid:GUID', run.stderr)


class ScriptErrors(unittest.TestCase):
    def test_thrown_error_is_reported_with_its_line_and_fails_the_run(self):
        run = run_page("""<html>
<script>
alert("before");

throw new Error("설치 실패");
</script>
<script>alert("next block runs"); window.close();</script>""")
        self.assertEqual(run.status, 1, run)
        self.assertEqual(run.alerts, ["before", "next block runs"])
        self.assertIn("(line 5, column 1): 설치 실패", run.stderr)

    def test_syntax_error_stops_its_block_only(self):
        run = run_page("""<script>
alert("never");
foo(;
</script>
<script>alert("later"); close();</script>""")
        self.assertEqual(run.status, 1, run)
        self.assertEqual(run.alerts, ["later"])
        self.assertIn("line 3", run.stderr)

    def test_syntax_error_in_an_event_handler_is_reported_at_its_page_lines(self):
        # Handlers are compiled before anything runs, so a broken one shows at once, on
        # the lines of its block (Wine's engine places errors inside a function at the
        # function's head, which is the block's first line).
        run = run_page("""<p>
<script for="Installer" event="OnCreate()">
var x = ;
</script>
<script>alert("plain"); close();</script>""")
        self.assertEqual(run.status, 1, run)
        self.assertEqual(run.alerts, ["plain"])
        self.assertRegex(run.stderr, r"script error \(line [23], column \d+\): \S")

    def test_unsupported_language_fails_the_run(self):
        run = run_page("""<script language="VBScript">MsgBox "x"</script>
<script>alert("still runs"); close();</script>""")
        self.assertEqual(run.status, 1, run)
        self.assertEqual(run.alerts, ["still runs"])
        self.assertIn("VBScript", run.stderr)


class Lifetime(unittest.TestCase):
    def test_page_that_never_closes_ends_at_the_timeout(self):
        run = run_page("<script>alert('waiting');</script>", timeout_seconds=2)
        self.assertEqual(run.status, 3, run)
        self.assertEqual(run.alerts, ["waiting"])
        self.assertIn("did not close within 2 seconds", run.stderr)

    def test_bad_command_lines_and_missing_pages(self):
        host = harness.program("korvendal-host.exe")
        completed = harness.wine([host, "--headless"])
        self.assertEqual(completed.returncode, 2)
        self.assertIn(b"usage", completed.stderr)
        completed = harness.wine([host, "Z:\\no\\such\\page.html", "--headless", "--timeout", "5"])
        self.assertEqual(completed.returncode, 2)
        self.assertIn(b"cannot read the page", completed.stderr)


if __name__ == "__main__":
    harness.run()
