// SPDX-License-Identifier: GPL-3.0-or-later
#include "ErrorAdvice.h"

#include <cmath>

#include "Numbers.h"

namespace zk {

std::string ApplyAdvice(double soundSpeed, double gamma, std::int32_t velocity, char decimalSeparator) {
    if (soundSpeed == 0)
        return "Скорость звука c1 должна быть больше нуля: измените её в «Настройках»";
    // Below 1 the limiting angle arcsin(1/γ) has no value, and the polar's (γ + 1) terms vanish
    // or change sign.
    if (gamma < 1) {
        const std::string value = gamma == 0
                                      ? std::string("равен нулю")
                                      : "равен " + NumberText(gamma, decimalSeparator) + ", а это меньше 1";
        return "Показатель адиабаты γ " + value +
               ": задайте в «Настройках» γ × 10 не меньше 10 (для воздуха 14)";
    }
    // Only c1² enters the polar: a negative c1 is solved as its magnitude.
    const double c1 = std::fabs(soundSpeed);
    if (velocity <= c1) {
        const std::string sound = NumberText(c1, decimalSeparator);
        return "Скорость потока V1 = " + IntegerText(velocity) +
               " м/с не больше скорости звука c1 = " + sound +
               " м/с, а скачок уплотнения бывает только в сверхзвуковом потоке: задайте V1 больше " + sound +
               " м/с или уменьшите c1 в «Настройках»";
    }
    return {};
}

namespace {

// What the line of a value holds, as the program writes it.
const char* LineContents(int value) {
    switch (value) {
    case 1:
        return "скорость звука c1 в м/с — число, например 340 (дробная часть — через точку)";
    case 2:
        return "показатель адиабаты γ, умноженный на 100, — число, например 140 для γ = 1,4";
    case 3:
        return "скорость потока V1 в м/с — целое число, например 680";
    case 4:
        return "половина угла клина χ в градусах — число, например 20";
    default:
        return "число";
    }
}

} // namespace

std::string ResultFileAdvice(const std::string& fileName, const ResultFilePlace& place) {
    return "Файл «" + fileName + "», строка " + IntegerText(place.Line) + ": в этой строке записывают " +
           LineContents(place.Value);
}

std::string ResultFileOpenAdvice(const std::string& fileName, int inOutCode) {
    const std::string file = "Файл «" + fileName + "» не удалось прочитать: ";
    switch (inOutCode) {
    case 5:
        return file + "у вас нет прав на его чтение, или это папка";
    case 32:
        return file + "он занят другой программой; закройте её и откройте файл снова";
    default:
        return file + "проверьте, что он есть на диске и доступен";
    }
}

} // namespace zk
