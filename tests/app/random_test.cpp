#include "app/random.hpp"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

TEST(Random, MatchesTheRuntimeGeneratorSequence) {
    // The first values of the classic rand() after srand(1).
    random_seed(1);
    const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358};
    for (int e : expected) EXPECT_EQ(random_below(32768), e);
}

TEST(Random, SameSeedSameSequenceAndRangeHolds) {
    random_seed(12345);
    int a[50];
    for (int& v : a) v = random_below(6);
    random_seed(12345);
    for (int v : a) {
        EXPECT_EQ(random_below(6), v);
        EXPECT_GE(v, 0);
        EXPECT_LT(v, 6);
    }
    for (int i = 0; i < 100; ++i) EXPECT_EQ(random_below(1), 0);
}

}  // namespace
}  // namespace tessaly
