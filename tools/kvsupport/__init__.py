"""Korvendal's own Python helpers, shared by the driver's scripts, the tools, the
benchmarks and the tests: the project's Wine prefix and its server, Windows and Unix paths,
a loopback nginx, and the skins the scripts serve."""
