// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A fresh program for each test: the flow state as at process start, the five windows created
// as at start-up, error boxes recorded, file dialogs answered from a script and the printer
// replaced by one the test chooses.
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "DecimalSeparator.h"
#include "RasterCanvas.h"
#include "RecordingErrorBox.h"
#include "ScriptedFileDialogs.h"
#include "Startup.h"
#include "TImage.h"
#include "TPrinter.h"
#include "TSpinEdit.h"
#include "Unit1.h"
#include "Unit2.h"
#include "Unit3.h"
#include "Unit4.h"
#include "Unit5.h"

class ProgramTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Flow = zk::FlowState{};
        zk::SetDecimalSeparator(QStringLiteral("."));
        zk::CreateWindows();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Main));
    }
    void TearDown() override {
        zk::DestroyWindows();
        zk::SetPrinter(nullptr);
    }

    static QString Data(const char* name) {
        return QStringLiteral(ZK_TEST_DATA "/") + QString::fromLatin1(name);
    }
    QString Temp(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    // The texts of the result labels and the inputs, for comparing whole states.
    static QStringList ShownState() {
        return {Main->SpinEdit1->Text(), Main->SpinEdit2->Text(), Main->Label6->text(),
                Main->Label2->text(),    Main->Label1->text(),    Main->Label8->text(),
                Main->Label11->text(),   Main->Label12->text(),   Main->Label13->text(),
                Main->Label3->text(),    Opt->cc1->Text(),        Opt->cG1->Text()};
    }
    static QImage Picture() { return Main->Ris->Picture(); }

    RecordingErrorBox errors;
    ScriptedFileDialogs dialogs;
    QTemporaryDir dir;
};
