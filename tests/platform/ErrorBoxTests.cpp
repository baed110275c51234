// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QEvent>
#include <QLocale>
#include <QTimer>
#include <gtest/gtest.h>
#include <stdexcept>

#include "DecimalSeparator.h"
#include "ErrorBox.h"
#include "RecordingErrorBox.h"

TEST(ErrorBoxText, AppendsAPeriodWhenTheLastCharacterSortsAfterIt) {
    struct Row {
        QString message;
        QString text;
    };
    const Row rows[] = {
        {"Floating point division by zero", "Floating point division by zero."},
        {"Invalid numeric input", "Invalid numeric input."},
        {"I/O error 32", "I/O error 32."},        // a digit sorts after "."
        {"Already ended.", "Already ended."},     // a period gets no second one
        {"", ""},                                 // an empty message stays empty
        {"Ends in a dash -", "Ends in a dash -"}, // "-" sorts before "."
        {"Ends in a comma,", "Ends in a comma,"},
        {"Cannot create file /tmp/a/", "Cannot create file /tmp/a/."}, // "/" sorts after "."
        {QStringLiteral("Ошибка"), QStringLiteral("Ошибка.")},
    };
    for (const Row& row : rows)
        EXPECT_EQ(zk::ErrorBoxText(row.message), row.text) << row.message.toStdString();
}

TEST(ErrorReport, HandlerErrorsAreShownUnderTheApplicationTitle) {
    RecordingErrorBox boxes;
    bool continued = false;
    zk::RunHandler([] { throw std::runtime_error("Floating point division by zero"); });
    zk::RunHandler([&] { continued = true; });
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(boxes.Boxes[0].Title, QStringLiteral("Зорквента"));
    EXPECT_EQ(boxes.Boxes[0].Text, QStringLiteral("Floating point division by zero."));
    EXPECT_TRUE(continued);

    zk::RunHandler([] { throw 42; });
    ASSERT_EQ(boxes.Boxes.size(), 2u);
    EXPECT_EQ(boxes.Boxes[1].Text, QStringLiteral("Unknown error."));
}

TEST(ErrorReport, GuardedSlotsReportInsteadOfThrowing) {
    RecordingErrorBox boxes;
    QTimer timer;
    timer.setSingleShot(true);
    int runs = 0;
    QObject::connect(&timer, &QTimer::timeout, zk::Guarded([&] {
        ++runs;
        throw std::runtime_error("Not enough timers available");
    }));
    timer.start(0);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(runs, 1);
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(boxes.Boxes[0].Text, QStringLiteral("Not enough timers available."));
}

namespace {
class ThrowingObject : public QObject {
  public:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::User)
            throw std::runtime_error("Invalid floating point operation");
        return QObject::event(event);
    }
};
} // namespace

TEST(ErrorReport, ApplicationCatchesWhatEscapesAnEventHandler) {
    RecordingErrorBox boxes;
    ThrowingObject object;
    QEvent event(QEvent::User);
    EXPECT_NO_THROW(QCoreApplication::sendEvent(&object, &event));
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(boxes.Boxes[0].Text, QStringLiteral("Invalid floating point operation."));

    // A posted event that fails is reported the same way, and the loop goes on.
    QCoreApplication::postEvent(&object, new QEvent(QEvent::User));
    QCoreApplication::processEvents();
    EXPECT_EQ(boxes.Boxes.size(), 2u);
}

TEST(DecimalSeparator, NumberTextsShowTheSeparatorInForce) {
    zk::SetDecimalSeparator(QStringLiteral(","));
    EXPECT_EQ(zk::LocalizedNumberText("1.074"), QStringLiteral("1,074"));
    EXPECT_EQ(zk::LocalizedNumberText("-1.5E20"), QStringLiteral("-1,5E20"));
    EXPECT_EQ(zk::LocalizedNumberText("2"), QStringLiteral("2"));
    zk::SetDecimalSeparator(QString()); // a locale without one: "."
    EXPECT_EQ(zk::DecimalSeparator(), QStringLiteral("."));
    EXPECT_EQ(zk::LocalizedNumberText("45.6"), QStringLiteral("45.6"));
}

TEST(DecimalSeparator, IsReadAgainWhenTheSystemAnnouncesALocaleChange) {
    zk::SetDecimalSeparator(QStringLiteral("#"));
    QEvent change(QEvent::LocaleChange);
    QCoreApplication::sendEvent(qApp, &change);
    const QString expected =
        QLocale::system().decimalPoint().isEmpty() ? QStringLiteral(".") : QLocale::system().decimalPoint();
    EXPECT_EQ(zk::DecimalSeparator(), expected);
    EXPECT_NE(zk::DecimalSeparator(), QStringLiteral("#"));
}
