#include "TestSupport.h"
TEST(Smoke, Runs) { EXPECT_EQ(std::string("交信回数"), std::string("\x8C\xF0\x90\x4D\x89\xF1\x90\x94")); }
