// A bad board index throws in every build; builds with assertions stop at the check instead.
#pragma once

#include <gtest/gtest.h>

#include <stdexcept>

#ifdef NDEBUG
#define EXPECT_INDEX_REJECTED(Statement) EXPECT_THROW(Statement, std::out_of_range)
#else
#define EXPECT_INDEX_REJECTED(Statement) EXPECT_DEATH(Statement, "board index outside")
#endif
