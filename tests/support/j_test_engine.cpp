#include "support/j_test_engine.h"

#include <gtest/gtest.h>

#include "engine/jdll_engine.h"

JEngine* sharedTestEngine() {
    static QString error;
    // Never destroyed: freeing J during static destruction would race the library's own teardown.
    static JEngine* engine = JEngine::create(&error).release();
    if (!engine) ADD_FAILURE() << error.toStdString();
    return engine;
}
