#include "rtl/Exceptions.h"

#include <gtest/gtest.h>

TEST(Exceptions, CarryTheirMessageThroughEveryKind) {
    const auto check = [](const Exception& failure, const std::string& text) {
        EXPECT_EQ(failure.Message(), text);
        EXPECT_STREQ(failure.what(), text.c_str());
    };
    check(Exception("plain"), "plain");
    check(EConvertError("'x' is not a valid floating point value"),
          "'x' is not a valid floating point value");
    check(EOverflow("Floating point overflow"), "Floating point overflow");
    check(EAbort(""), "");
}

TEST(Exceptions, AreCaughtAsTheFamily) {
    const auto caughtAsFamily = [](auto thrower) {
        try {
            thrower();
        } catch (const Exception&) {
            return true;
        } catch (...) {
        }
        return false;
    };
    EXPECT_TRUE(caughtAsFamily([] { throw EConvertError("a"); }));
    EXPECT_TRUE(caughtAsFamily([] { throw EOverflow("b"); }));
    EXPECT_TRUE(caughtAsFamily([] { throw EAbort("c"); }));
    EXPECT_FALSE(caughtAsFamily([] { throw std::runtime_error("d"); }));
}
