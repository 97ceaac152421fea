// When QUARVEL_TEST_LOCALE names a locale, every core test runs under it:
// the file tests then show that a decimal comma changes no character.
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <locale>

#include <gtest/gtest.h>

namespace {

class LocaleEnvironment : public testing::Environment {
public:
    void SetUp() override {
        const char* name = std::getenv("QUARVEL_TEST_LOCALE");
        if (!name || !*name) return;
        ASSERT_NE(std::setlocale(LC_ALL, name), nullptr) << "locale " << name << " is not available";
        ASSERT_STREQ(std::localeconv()->decimal_point, ",") << "locale " << name << " has no decimal comma";
        std::locale::global(std::locale(name));
    }
};

const testing::Environment* const environment = testing::AddGlobalTestEnvironment(new LocaleEnvironment);

}  // namespace
