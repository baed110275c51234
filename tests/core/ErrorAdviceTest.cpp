// SPDX-License-Identifier: GPL-3.0-or-later
// The advice under an error box: which input leaves the case undefined and what to change.
#include <gtest/gtest.h>

#include "ErrorAdvice.h"

namespace {

TEST(ErrorAdviceTest, ApplyNamesTheInputThatLeavesTheCaseUndefined) {
    const std::string gammaFix = ": задайте в «Настройках» γ × 10 не меньше 10 (для воздуха 14)";
    struct Row {
        double c1;    // m/s
        double gamma;
        int v1;       // m/s
        char separator;
        std::string advice;
    };
    const Row rows[] = {
        {0, 1.4, 680, ',', "Скорость звука c1 должна быть больше нуля: измените её в «Настройках»"},
        // c1 comes first: with no speed of sound nothing else can be judged.
        {0, 0, 0, ',', "Скорость звука c1 должна быть больше нуля: измените её в «Настройках»"},
        {340, 0, 680, ',', "Показатель адиабаты γ равен нулю" + gammaFix},
        {340, 0.5, 680, ',', "Показатель адиабаты γ равен 0,5, а это меньше 1" + gammaFix},
        {340, 0.9, 680, '.', "Показатель адиабаты γ равен 0.9, а это меньше 1" + gammaFix},
        {340, -1, 680, ',', "Показатель адиабаты γ равен -1, а это меньше 1" + gammaFix},
        {340, 1.4, 340, ',',
         "Скорость потока V1 = 340 м/с не больше скорости звука c1 = 340 м/с, а скачок уплотнения бывает "
         "только в сверхзвуковом потоке: задайте V1 больше 340 м/с или уменьшите c1 в «Настройках»"},
        // Only c1² enters the polar: a negative c1 is judged by its magnitude.
        {-340.5, 1.4, 0, ',',
         "Скорость потока V1 = 0 м/с не больше скорости звука c1 = 340,5 м/с, а скачок уплотнения бывает "
         "только в сверхзвуковом потоке: задайте V1 больше 340,5 м/с или уменьшите c1 в «Настройках»"},
        // Inputs that explain no fault: the box shows the runtime's message alone.
        {340, 1.4, 341, ',', ""},
        {340, 1.0, 680, ',', ""},
        {-340, 1.4, 680, ',', ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "c1 " << row.c1 << ", gamma " << row.gamma << ", V1 " << row.v1);
        EXPECT_EQ(zk::ApplyAdvice(row.c1, row.gamma, row.v1, row.separator), row.advice);
    }
}

TEST(ErrorAdviceTest, CaseFilesNameTheFileAndTheLine) {
    EXPECT_EQ(zk::ResultFileAdvice("урок.psr", {3, 7}),
              "Файл «урок.psr», строка 7: в этой строке записывают скорость потока V1 в м/с — целое число, "
              "например 680");
    EXPECT_EQ(zk::ResultFileOpenAdvice("урок.psr", 32),
              "Файл «урок.psr» не удалось прочитать: он занят другой программой; закройте её и откройте файл "
              "снова");
    EXPECT_EQ(zk::ResultFileOpenAdvice("урок.psr", 3),
              "Файл «урок.psr» не удалось прочитать: проверьте, что он есть на диске и доступен");
}

} // namespace
