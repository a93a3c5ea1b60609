// The lines of the restore question.
#include "ui/RestoreText.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace vork {
namespace {

// The time of the copies is shown in the local time zone; the test fixes it.
struct RestoreText : ::testing::Test {
    void SetUp() override {
        const char* tz = std::getenv("TZ");
        saved = tz ? tz : "";
        hadZone = tz != nullptr;
        ::setenv("TZ", "UTC", 1);
        ::tzset();
    }
    void TearDown() override {
        if (hadZone)
            ::setenv("TZ", saved.c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }
    std::string saved;
    bool hadZone = false;
};

TEST_F(RestoreText, EachDocumentIsListedWithItsSizeCountsAndTime) {
    const std::time_t keptAt = 1796743920; // 8 December 2026, 15:32 UTC
    EXPECT_EQ(describeRecoveredDocument({Mode::Painter, 2048, 2048, 1, 8, keptAt}),
              "Рисунок 2048 x 2048: кадров 1, слоёв 8; сохранён 08.12.2026 в 15:32");
    EXPECT_EQ(describeRecoveredDocument({Mode::Animator, 300, 264, 12, 30, keptAt}),
              "Анимация 300 x 264: кадров 12, слоёв 30; сохранена 08.12.2026 в 15:32");
    EXPECT_NE(restoreDeclineNote("data/recovery").find("data/recovery"), std::string::npos);
}

} // namespace
} // namespace vork
