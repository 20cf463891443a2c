// Drives the demo page's control as a user would, for korvendal-host --headless, where
// nobody is at the screen: tools/demo.py appends it to its copy of index.html after
// defining demoFolder (a Windows folder with a trailing backslash, for the screenshots).
// Each alert is one line on the host's output, read by tools/demo.py as it comes.
(function () {
  var START = 218, CLOSE = 220;
  var ELAPSED = 210, RECEIVED = 211, REMAINING = 212, SPEED = 213, STATUS = 215, TARGET = 216, PERCENT = 214;
  var DOWNLOADING = "다운로드 중...";
  var seconds = 0;

  function figures() {
    return "경과 " + external.text(ELAPSED) + " | 받음 " + external.text(RECEIVED) +
      " | 속도 " + external.text(SPEED) + " | 남은 시간 " + external.text(REMAINING) +
      " | " + external.text(PERCENT);
  }

  function capture(name) {
    var path = demoFolder + name + ".png";
    external.capture(path);
    alert("CAPTURED " + path);
  }

  function finish() {
    alert("FIGURES " + figures());
    alert("STATUS " + external.text(STATUS));
    alert("DOWNLOADED " + external.text(TARGET));
    capture("after");
    // The user's 닫기: the page's OnClose handler closes the window.
    external.click(CLOSE);
  }

  function tick() {
    var status = external.text(STATUS);
    // The status stays empty until the transfer's first notice arrives.
    if (status == "" || status == DOWNLOADING) {
      if (++seconds > 600) { alert("FAILED the transfer took longer than 10 minutes"); window.close(); return; }
      alert("TICK " + figures());
      setTimeout(tick, 1000);
      return;
    }
    finish();
  }

  if (!windowCreated) alert("FAILED OnCreate was not fired before the page's script ran");
  if (!initDone) { alert("FAILED Init did not succeed"); window.close(); return; }
  alert("READY " + external.text(208) + " " + external.text(209) + " -> " + external.text(TARGET));
  capture("before");
  external.click(START);
  setTimeout(tick, 1000);
})();
