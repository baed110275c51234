// SPDX-License-Identifier: GPL-3.0-or-later
// The advice of an Apply fault for the speeds (the gas cases are checked in the settings window).
#include <gtest/gtest.h>

#include "ErrorAdvice.h"

TEST(ErrorAdviceTest, ApplyNamesTheSpeedThatLeavesTheCaseUndefined) {
    const std::string subsonic =
        " м/с, а скачок уплотнения бывает только в сверхзвуковом потоке: задайте V1 больше ";
    // c1 comes first; a negative c1 is judged by its magnitude, as only c1² enters the polar.
    EXPECT_EQ(zk::ApplyAdvice(0, 0, 0, ','),
              "Скорость звука c1 должна быть больше нуля: измените её в «Настройках»");
    EXPECT_EQ(zk::ApplyAdvice(-340.5, 1.4, 0, ','),
              "Скорость потока V1 = 0 м/с не больше скорости звука c1 = 340,5" + subsonic +
                  "340,5 м/с или уменьшите c1 в «Настройках»");
    EXPECT_EQ(zk::ApplyAdvice(340, 1.4, 340, ','),
              "Скорость потока V1 = 340 м/с не больше скорости звука c1 = 340" + subsonic +
                  "340 м/с или уменьшите c1 в «Настройках»");
    // Inputs that explain no fault: the box shows the runtime's message alone.
    EXPECT_EQ(zk::ApplyAdvice(340, 1.0, 341, ','), "");
    EXPECT_EQ(zk::ApplyAdvice(-340, 1.4, 680, ','), "");
}
