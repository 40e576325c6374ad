// The object the suites' shared precompiled header is built with; it holds no code.
