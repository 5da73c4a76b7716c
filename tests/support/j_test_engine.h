#pragma once

class JEngine;

// One real J engine for the whole test program, started on first use, so test files
// share its start-up cost. Returns nullptr after recording a test failure that carries
// the engine's error text (J missing, say). Tests must not leave the current locale
// changed or rely on names other tests define; Clear() between tests where it matters.
JEngine* sharedTestEngine();
