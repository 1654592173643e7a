#pragma once

#include <gtest/gtest.h>

#include <QtTest/QTest>

#include "tests/support/PollUntil.h"

// gtest forms of Qt's QTRY_* checks, which report to QTest's own log: inside a gtest run
// nobody reads that log, so a QTRY_* check that times out passes. These run the event loop
// until the condition holds or the limit passes, then check it once more with gtest.

#define ASSERT_EVENTUALLY_WITHIN(condition, limit_ms)                                           \
    do {                                                                                        \
        if (!QTest::qWaitFor([&] { return static_cast<bool>(condition); }, (limit_ms))) {       \
            ASSERT_TRUE(condition) << "still false after " << (limit_ms) << " ms: " #condition; \
        }                                                                                       \
    } while (false)

#define ASSERT_EVENTUALLY_EQ_WITHIN(actual, expected, limit_ms)                     \
    do {                                                                            \
        if (!QTest::qWaitFor([&] { return (actual) == (expected); }, (limit_ms))) { \
            ASSERT_EQ(actual, expected) << "after waiting " << (limit_ms) << " ms"; \
        }                                                                           \
    } while (false)

#define ASSERT_EVENTUALLY(condition) ASSERT_EVENTUALLY_WITHIN(condition, kPollLimit_ms)
#define ASSERT_EVENTUALLY_EQ(actual, expected) \
    ASSERT_EVENTUALLY_EQ_WITHIN(actual, expected, kPollLimit_ms)
