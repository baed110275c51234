// SPDX-License-Identifier: GPL-3.0-or-later
// Bad input end to end: broken, binary and huge result files, numbers out of every range,
// paths that cannot be read or written, gas settings for which the solution is undefined, and
// the extreme velocities and wedge angles.  Each case must end in its message box or its
// result, and a following Apply with good input must give the start-up case again.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cerrno>
#include <optional>
#include <string>
#include <unistd.h>

#include "FileFault.h"
#include "PolarDiagram.h"
#include "ProgramFixture.h"
#include "Solver.h"
#include "TestFiles.h"

namespace {

constexpr std::size_t kMegabyte = std::size_t{1} << 20;
const QString kTitle = QStringLiteral("Зорквента");

using zk::test::Contents;
using zk::test::Write;

// Four lines as the program writes them.
std::string Lines(const std::string& c1, const std::string& gamma100, const std::string& v1,
                  const std::string& wedge) {
    return c1 + "\r\n" + gamma100 + "\r\n" + v1 + "\r\n" + wedge + "\r\n";
}

// The diagram of the start-up case (c1 = 340 m/s, γ = 1.4, V1 = 680 m/s, χ = 20°) drawn afresh on
// a picture of its own, away from the window.
QImage StartupPicture() {
    zk::FlowState state;
    state.SoundSpeed = 340;
    state.Gamma = 1.4;
    zk::RasterCanvas canvas(zk::PolarDiagram::kWidth, zk::PolarDiagram::kHeight);
    zk::PolarDiagram diagram(canvas, state);
    zk::ApplyInputs inputs;
    inputs.WedgeDegrees = 20;
    inputs.Velocity = 680;
    zk::Apply(state, inputs, diagram);
    const QImage view(reinterpret_cast<const uchar*>(canvas.Bits()), canvas.Width(), canvas.Height(),
                      canvas.Width() * 4, QImage::Format_RGB32);
    return view.copy();
}

bool RatiosShown() {
    return Main->Label1->isVisible() && Main->Label2->isVisible() && Main->Label8->isVisible() &&
           Main->Label11->isVisible();
}

bool FormulasShown() {
    return Main->Image2->isVisible() && Main->Image3->isVisible() && Main->Image4->isVisible() &&
           Main->Image5->isVisible();
}

// Every text of the main window's labels and fields, for finding a NaN or an infinity.
QStringList AllTexts() {
    QStringList texts;
    for (QLabel* label : Main->Client->findChildren<QLabel*>())
        texts << label->text();
    for (QLineEdit* edit : Main->Client->findChildren<QLineEdit*>())
        texts << edit->text();
    return texts;
}

void ExpectOnlyNumbersShown() {
    for (const QString& text : AllTexts()) {
        EXPECT_FALSE(text.contains(QStringLiteral("NAN"), Qt::CaseInsensitive)) << text.toStdString();
        EXPECT_FALSE(text.contains(QStringLiteral("INF"), Qt::CaseInsensitive)) << text.toStdString();
    }
}

// A folder in which no file can be created: a read-only folder, or for the superuser, who may
// write anywhere, the kernel's attribute folder.
QString ProtectedFolder(const QTemporaryDir& dir) {
    const QString folder = dir.filePath(QStringLiteral("read-only"));
    QDir().mkdir(folder);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
    if (::access(QFile::encodeName(folder).constData(), W_OK) != 0)
        return folder;
    return QStringLiteral("/sys");
}

// A file that exists and cannot be read: one without read permission, or for the superuser,
// who may read any such file, a write-only kernel setting.  Empty when neither can be had.
QString UnreadableFile(const QTemporaryDir& dir) {
    const QString file = dir.filePath(QStringLiteral("write-only.psr"));
    Write(file, Lines("340", "140", "680", "20"));
    QFile::setPermissions(file, QFile::WriteOwner);
    if (::access(QFile::encodeName(file).constData(), R_OK) != 0)
        return file;
    const QString setting = QStringLiteral("/proc/sys/vm/drop_caches");
    if (QFileInfo(setting).isFile() && ::access(QFile::encodeName(setting).constData(), R_OK) != 0)
        return setting;
    return {};
}

// The flow-state fields that an opened file or Apply writes.
struct FlowSnapshot {
    double SoundSpeed, Gamma, WedgeAngle, ShockAngle;
    std::int32_t V1, PointCx, PointCy;
    bool ShockDetached;
    static FlowSnapshot Take() {
        return {Flow.SoundSpeed, Flow.Gamma,   Flow.WedgeAngle, Flow.ShockAngle,
                Flow.V1,         Flow.PointCx, Flow.PointCy,    Flow.ShockDetached};
    }
    bool operator==(const FlowSnapshot&) const = default;
};

} // namespace

class BadInputTest : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        startupShown_ = ShownState();
    }

    void Open(const QString& fileName) {
        dialogs.Answer(fileName);
        Main->N6->trigger();
    }
    void Save(const QString& fileName) {
        dialogs.Answer(fileName);
        Main->psr1->trigger();
    }
    void Export(const QString& fileName) {
        dialogs.Answer(fileName);
        Main->bmp1->trigger();
    }
    // The gas through the settings window, closed with "OK".
    void SetGas(int soundSpeed, int gammaTimesTen) {
        Main->N2->trigger();
        Opt->cc1->SetValue(soundSpeed);
        Opt->cG1->SetValue(gammaTimesTen);
        QTest::mouseClick(Opt->BitBtn1, Qt::LeftButton);
    }
    void ClickApply(int wedge, int velocity) {
        Main->SpinEdit1->SetValue(wedge);
        Main->SpinEdit2->SetValue(velocity);
        QTest::mouseClick(Main->Button2, Qt::LeftButton);
    }
    // A case other than the start-up one in every value a result file holds.
    void SetOtherCase() {
        SetGas(320, 13);
        ClickApply(10, 1000);
        ASSERT_TRUE(errors.Boxes.empty());
    }

    // The one box the last command showed.
    void ExpectBox(const QString& text) {
        ASSERT_EQ(errors.Boxes.size(), 1u) << "expected the box " << text.toStdString();
        EXPECT_EQ(errors.Boxes[0].Text, text);
        EXPECT_EQ(errors.Boxes[0].Title, kTitle);
        errors.Boxes.clear();
    }

    // Good input after bad: the default gas through the settings window, the start-up inputs
    // and a click on "Применить" give the start-up case again, picture and labels.
    void ExpectGoodApplyRecovers() {
        errors.Boxes.clear();
        Main->SpinEdit1->SetValue(20);
        Main->SpinEdit2->SetValue(680);
        SetGas(340, 14);
        EXPECT_FALSE(Opt->isVisible());
        ASSERT_TRUE(Main->isEnabled());
        ClickApply(20, 680);
        EXPECT_TRUE(errors.Boxes.empty()) << "good input shows no box";
        EXPECT_EQ(ShownState(), startupShown_);
        EXPECT_EQ(Picture(), StartupPicture());
        EXPECT_EQ(Flow.PointCx, 460); // the worked example's point C
        EXPECT_EQ(Flow.PointCy, 166);
        EXPECT_FALSE(Flow.ShockDetached);
        EXPECT_TRUE(RatiosShown());
        EXPECT_TRUE(FormulasShown());
        errors.Boxes.clear();
    }

    QStringList startupShown_;
};

// ---------------------------------------------------------------------------------------------
// Result files whose contents cannot be taken: the box of the failing line, nothing changed.

TEST_F(BadInputTest, UnreadableContentsShowTheLinesErrorAndChangeNothing) {
    struct Row {
        const char* what;
        std::string bytes;
        const char* message;
    };
    const std::string png("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\x02\x61\0\0\x01\xc1\x08\x02\0\0\0", 29);
    const std::string huge(5 * kMegabyte, 'A');
    const std::string hugeNumber(5 * kMegabyte, '1');
    const Row rows[] = {
        {"picture bytes", png, "Invalid numeric input."},
        {"bytes above 0x7F", std::string("\xc0\xff\xfe\x80\x81\r\n", 7), "Invalid numeric input."},
        {"byte order mark before the numbers",
         std::string("\xef\xbb\xbf").append(Lines("340", "140", "680", "20")), "Invalid numeric input."},
        {"letters in a number", Lines("34O", "140", "680", "20"), "Invalid numeric input."},
        {"megabytes of letters on one line", huge + "\r\n", "Invalid numeric input."},
        // The first 64 digits are taken: a value far too large for the settings window's field.
        {"megabytes of digits on one line", hugeNumber + "\r\n", "Invalid floating point operation."},
        {"c1 beyond the range of a real", Lines("1e400", "140", "680", "20"), "Invalid numeric input."},
        {"negative c1 beyond the range", Lines("-1e400", "140", "680", "20"), "Invalid numeric input."},
        {"γ beyond the range of a real", Lines("340", "1e400", "680", "20"), "Invalid numeric input."},
        {"V1 beyond 32 bits", Lines("340", "140", "99999999999", "20"), "Invalid numeric input."},
        {"negative V1 beyond 32 bits", Lines("340", "140", "-99999999999", "20"), "Invalid numeric input."},
        {"V1 in exponent form", Lines("340", "140", "6.8e2", "20"), "Invalid numeric input."},
        {"V1 of megabytes of digits", Lines("340", "140", hugeNumber, "20"), "Invalid numeric input."},
        {"wedge too large to round", Lines("340", "140", "680", "1e300"),
         "Invalid floating point operation."},
        {"negative wedge too large to round", Lines("340", "140", "680", "-1e300"),
         "Invalid floating point operation."},
        {"c1 too large to round", Lines("1e300", "140", "680", "20"), "Invalid floating point operation."},
        {"γ too large to round", Lines("340", "1e300", "680", "20"), "Invalid floating point operation."},
        {"wedge with a comma", Lines("340", "140", "680", "20,5"), "Invalid numeric input."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        SetOtherCase();
        const QStringList shown = ShownState();
        const QImage picture = Picture();
        const FlowSnapshot flow = FlowSnapshot::Take();
        Write(Temp("bad.psr"), row.bytes);
        Open(Temp("bad.psr"));
        ExpectBox(QString::fromUtf8(row.message));
        EXPECT_EQ(ShownState(), shown);
        EXPECT_EQ(Picture(), picture);
        EXPECT_TRUE(FlowSnapshot::Take() == flow) << "the flow state is unchanged";
        EXPECT_EQ(Main->SpinEdit2->MinValue(), 335) << "the limit of the settings stays";
        EXPECT_EQ(Contents(Temp("bad.psr")), row.bytes) << "the file is only read";
        ExpectGoodApplyRecovers();
    }
}

// The box names the file, the line whose number could not be taken and what that line holds.
TEST_F(BadInputTest, UnreadableContentsNameTheFileTheLineAndWhatItHolds) {
    const char* const kSoundSpeed = "скорость звука c1 в м/с — число, например 340 (дробная часть — через точку)";
    const char* const kVelocity = "скорость потока V1 в м/с — целое число, например 680";
    const char* const kWedge = "половина угла клина χ в градусах — число, например 20";
    const struct {
        const char* what;
        std::string bytes;
        int line;
        const char* holds;
    } rows[] = {
        {"letter in c1", Lines("34O", "140", "680", "20"), 1, kSoundSpeed},
        {"V1 with a point", Lines("340", "140", "680.0", "20"), 3, kVelocity},
        {"wedge with a comma", Lines("340", "140", "680", "20,5"), 4, kWedge},
        // Blank lines before a number are skipped: the third number stands on line 5.
        {"blank lines first", "\r\n\r\n340\r\n140\r\n6O0\r\n20\r\n", 5, kVelocity},
        // Too large to show in the fields: found after all four lines are read.
        {"wedge too large to round", Lines("340", "140", "680", "1e300"), 4, kWedge},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const QString file = dir.filePath(QStringLiteral("урок 1.psr"));
        Write(file, row.bytes);
        Open(file);
        ASSERT_EQ(errors.Boxes.size(), 1u);
        EXPECT_EQ(errors.Boxes[0].Informative,
                  QStringLiteral("Файл «урок 1.psr», строка %1: в этой строке записывают %2")
                      .arg(row.line)
                      .arg(QString::fromUtf8(row.holds)));
        errors.Boxes.clear();
    }
}

// ---------------------------------------------------------------------------------------------
// Result files that end before their four numbers: the missing values are 0, and Apply then
// faults on the zero speed of sound before it changes the picture.

TEST_F(BadInputTest, FilesWithoutNumbersReadAsZerosAndApplyReportsTheZeroSpeedOfSound) {
    struct Row {
        const char* what;
        std::string bytes;
    };
    const Row rows[] = {
        {"empty", ""},
        {"NUL bytes only", std::string(4096, '\0')},
        {"megabytes of blanks and line ends", std::string(3 * kMegabyte, ' ') + "\r\n\r\n\t\r\n"},
        {"end-of-file mark before the numbers",
         std::string(1, '\x1a').append(Lines("340", "140", "680", "20"))},
    };
    SetGas(340, 14); // the velocity field's lower limit is 355 from here on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const QImage picture = Picture();
        Write(Temp("zeros.psr"), row.bytes);
        Open(Temp("zeros.psr"));
        ExpectBox(QStringLiteral("Floating point division by zero."));
        EXPECT_EQ(Flow.SoundSpeed, 0.0);
        EXPECT_EQ(Flow.Gamma, 0.0);
        EXPECT_EQ((QStringList{Main->SpinEdit1->Text(), Main->SpinEdit2->Text(), Opt->cc1->Text(),
                               Opt->cG1->Text()}),
                  (QStringList{"0", "355", "0", "0"}));
        EXPECT_EQ(Picture(), picture) << "the fault comes before the picture is cleared";
        ExpectOnlyNumbersShown();
        ExpectGoodApplyRecovers();
    }
}

// Megabytes after the number of a line are skipped with the rest of that line.

TEST_F(BadInputTest, HugeLinesAreSkippedAfterTheirNumber) {
    const std::string junk(4 * kMegabyte, 'x');
    const std::string blanks(4 * kMegabyte, ' ');
    const std::string rows[] = {
        "340 " + junk + "\r\n140\r\n680\r\n20\r\n", "340\r\n140" + blanks + "\r\n680\r\n20\r\n",
        "340\r\n140\r\n680\r\n20 " + junk + junk + "\r\n",
        blanks + "340\r\n140\r\n680\r\n20\r\n", // blanks before a number are skipped
    };
    for (const std::string& bytes : rows) {
        SetOtherCase();
        Write(Temp("long.psr"), bytes);
        Open(Temp("long.psr"));
        EXPECT_TRUE(errors.Boxes.empty());
        EXPECT_EQ(ShownState(), startupShown_);
        EXPECT_EQ(Picture(), StartupPicture());
        errors.Boxes.clear();
    }
}

// ---------------------------------------------------------------------------------------------
// Result files whose numbers read but lie outside what the fields or the physics allow: the
// fields clamp, and Apply solves or reports its fault.

TEST_F(BadInputTest, ValuesOutOfRangeAreClampedOrReportedByApply) {
    struct Row {
        const char* what;
        std::string bytes;
        QStringList fields; // wedge, velocity, c1, γ × 10
        double soundSpeed;  // m/s
        double gamma;
        QString error; // the box of the final Apply, if any
    };
    // clang-format off
    const Row rows[] = {
        {"c1 zero", Lines("0", "140", "680", "20"), {"20", "680", "0", "14"}, 0, 1.4,
         "Floating point division by zero."},
        // γ = 0: the density ratio is 0/0 at the wedge's point C.
        {"γ zero", Lines("340", "0", "680", "20"), {"20", "680", "340", "0"}, 340, 0,
         "Invalid floating point operation."},
        // γ = 0 without a wedge: no ratios, but χmax = arcsin(1/0).
        {"γ zero, no wedge", Lines("340", "0", "680", "0"), {"0", "680", "340", "0"}, 340, 0,
         "Floating point division by zero."},
        {"γ below 1", Lines("340", "50", "680", "20"), {"20", "680", "340", "5"}, 340, 0.5,
         "Invalid floating point operation."},
        // γ = -1: 2/(γ + 1) divides by zero at point A; the γ field clamps to 0.
        {"γ negative", Lines("340", "-100", "680", "20"), {"20", "680", "340", "0"}, 340, -1,
         "Floating point division by zero."},
        {"V1 negative", Lines("340", "140", "-680", "20"), {"20", "355", "340", "14"}, 340, 1.4, {}},
        {"V1 above the field", Lines("340", "140", "2000000", "20"), {"20", "1000000", "340", "14"}, 340, 1.4, {}},
        {"wedge negative", Lines("340", "140", "680", "-20"), {"0", "680", "340", "14"}, 340, 1.4, {}},
        {"γ above the field", Lines("340", "1500", "680", "20"), {"20", "680", "340", "100"}, 340, 15, {}},
    };
    // clang-format on
    SetGas(340, 14); // the velocity field's lower limit is 355 from here on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Write(Temp("range.psr"), row.bytes);
        Open(Temp("range.psr"));
        if (row.error.isEmpty()) {
            EXPECT_TRUE(errors.Boxes.empty());
            EXPECT_EQ(Flow.V1, Main->SpinEdit2->Value()) << "V1 follows the clamped field";
        } else {
            ExpectBox(row.error);
        }
        EXPECT_EQ((QStringList{Main->SpinEdit1->Text(), Main->SpinEdit2->Text(), Opt->cc1->Text(),
                               Opt->cG1->Text()}),
                  row.fields);
        EXPECT_EQ(Flow.SoundSpeed, row.soundSpeed);
        EXPECT_EQ(Flow.Gamma, row.gamma);
        ExpectOnlyNumbersShown();
        ExpectGoodApplyRecovers();
    }
}

TEST_F(BadInputTest, NegativeSpeedOfSoundFromAFileSolvesWithItsSquare) {
    // Only c1² enters the polar, so the construction is that of +340 m/s; the Mach number and
    // the c1 display keep the sign.
    Write(Temp("negative.psr"), Lines("-340", "140", "680", "20"));
    Open(Temp("negative.psr"));
    EXPECT_TRUE(errors.Boxes.empty());
    EXPECT_EQ(Main->Label6->text(), "-2");
    EXPECT_EQ(Main->Label12->text(), "-340");
    EXPECT_EQ(Opt->cc1->Text(), "-340");
    EXPECT_EQ(Flow.PointCx, 460);
    EXPECT_EQ(Flow.PointCy, 166);
    EXPECT_TRUE(RatiosShown());
    EXPECT_EQ(Main->Label2->text(), startupShown_[3]) << "the same pressure ratio as for +340 m/s";
    ExpectGoodApplyRecovers();
}

// ---------------------------------------------------------------------------------------------
// Paths that are no readable file.

TEST_F(BadInputTest, PathsOfNoFileDoNothingAtAll) {
    SetOtherCase();
    const QStringList shown = ShownState();
    const QImage picture = Picture();
    QDir(dir.path()).mkdir(QStringLiteral("folder.psr"));
    Write(Temp("plain.psr"), Lines("340", "140", "680", "20"));
    const QString paths[] = {
        Temp("missing.psr"),         Temp("no such folder/case.psr"),
        Temp("folder.psr"),          // a folder that looks like a result file
        Temp("plain.psr/case.psr"),  // a file taken for a folder
        QStringLiteral("/dev/null"), // a device, not a file
    };
    for (const QString& path : paths) {
        SCOPED_TRACE(path.toStdString());
        Open(path);
        EXPECT_TRUE(errors.Boxes.empty());
        EXPECT_EQ(ShownState(), shown);
        EXPECT_EQ(Picture(), picture);
    }
    ExpectGoodApplyRecovers();
}

TEST_F(BadInputTest, FileWithoutReadPermissionIsAccessDenied) {
    // Where the system lets this user read every file (the superuser, without a write-only
    // kernel setting at hand), the system's refusal is made on purpose for an ordinary file.
    QString unreadable = UnreadableFile(dir);
    std::optional<zk::FileFault> refusal;
    if (unreadable.isEmpty()) {
        unreadable = Temp("protected.psr");
        Write(unreadable, Lines("340", "140", "680", "20"));
        refusal.emplace(zk::FileOperation::OpenForReading, EACCES);
    }
    SetOtherCase();
    const QStringList shown = ShownState();
    const QImage picture = Picture();
    const FlowSnapshot flow = FlowSnapshot::Take();
    Open(unreadable);
    refusal.reset();
    ExpectBox(QStringLiteral("File access denied."));
    EXPECT_EQ(ShownState(), shown);
    EXPECT_EQ(Picture(), picture);
    EXPECT_TRUE(FlowSnapshot::Take() == flow);
    ExpectGoodApplyRecovers();
}

TEST_F(BadInputTest, NamesOutsideAsciiAreOpenedAndSaved) {
    Save(Temp("случай χ"));
    EXPECT_TRUE(errors.Boxes.empty());
    EXPECT_EQ(Contents(Temp("случай χ.psr")), Lines("340", "140", "680", "20"));
    SetOtherCase();
    Open(Temp("случай χ.psr"));
    EXPECT_TRUE(errors.Boxes.empty());
    EXPECT_EQ(ShownState(), startupShown_);
    EXPECT_EQ(Picture(), StartupPicture());
}

// ---------------------------------------------------------------------------------------------
// Targets that cannot be written: the box, nothing written, and saving elsewhere still works.

TEST_F(BadInputTest, SavingWhereNoFileCanBeWrittenIsReported) {
    const QString folder = ProtectedFolder(dir);
    QDir(dir.path()).mkdir(QStringLiteral("folder.psr"));
    const QString targets[] = {folder + QStringLiteral("/case.psr"), Temp("folder.psr")};
    const QStringList shown = ShownState();
    for (const QString& target : targets) {
        SCOPED_TRACE(target.toStdString());
        Save(target);
        ExpectBox(QStringLiteral("File access denied."));
        EXPECT_EQ(ShownState(), shown);
    }
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/case.psr")));
    EXPECT_TRUE(QFileInfo(Temp("folder.psr")).isDir()) << "the folder is left as it was";
    EXPECT_TRUE(QDir(Temp("folder.psr")).isEmpty());

    Save(Temp("good.psr"));
    EXPECT_TRUE(errors.Boxes.empty());
    EXPECT_EQ(Contents(Temp("good.psr")), Lines("340", "140", "680", "20"));
    ExpectGoodApplyRecovers();
}

TEST_F(BadInputTest, ExportWhereNoFileCanBeCreatedNamesTheFile) {
    const QString folder = ProtectedFolder(dir);
    QDir(dir.path()).mkdir(QStringLiteral("folder.bmp"));
    struct Row {
        QString chosen;
        QString named; // the name in the message, ".bmp" included
    };
    const Row rows[] = {
        {folder + QStringLiteral("/pic"), folder + QStringLiteral("/pic.bmp")},
        {folder + QStringLiteral("/pic.BMP"), folder + QStringLiteral("/pic.BMP")},
        {Temp("folder.bmp"), Temp("folder.bmp")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.chosen.toStdString());
        Export(row.chosen);
        ExpectBox(QStringLiteral("Cannot create file ") + row.named + QStringLiteral("."));
        EXPECT_FALSE(QFileInfo(row.named).isFile());
    }
    EXPECT_TRUE(QDir(Temp("folder.bmp")).isEmpty());

    Export(Temp("good"));
    EXPECT_TRUE(errors.Boxes.empty());
    EXPECT_EQ(QImage(Temp("good.bmp"), "BMP").convertToFormat(QImage::Format_RGB32), StartupPicture());
    ExpectGoodApplyRecovers();
}

// ---------------------------------------------------------------------------------------------
// Gas settings for which the solution is undefined: the box of Apply's fault, and the settings
// window closed and the main window enabled all the same.

TEST_F(BadInputTest, UndefinedGasSettingsAreReportedAndTheWindowsReleased) {
    struct Row {
        const char* what;
        int soundSpeed;    // m/s
        int gammaTimesTen; // γ × 10
        int wedge;         // degrees
        const char* message;
        bool pictureKept;   // the fault comes before the picture is cleared
        const char* advice; // what the box says to do, under the message
    };
    constexpr const char* kZeroGamma =
        "Показатель адиабаты γ равен нулю: задайте в «Настройках» γ × 10 не меньше 10 (для воздуха 14)";
    constexpr const char* kGammaBelowOne = "Показатель адиабаты γ равен 0.9, а это меньше 1: задайте в "
                                           "«Настройках» γ × 10 не меньше 10 (для воздуха 14)";
    const Row rows[] = {
        {"c1 zero", 0, 14, 20, "Floating point division by zero.", true,
         "Скорость звука c1 должна быть больше нуля: измените её в «Настройках»"},
        {"γ zero at a wedge", 340, 0, 20, "Invalid floating point operation.", false, kZeroGamma},
        {"γ zero without a wedge", 340, 0, 0, "Floating point division by zero.", false, kZeroGamma},
        {"γ 0.9", 340, 9, 20, "Invalid floating point operation.", false, kGammaBelowOne},
        {"γ 0.9 without a wedge", 340, 9, 0, "Invalid floating point operation.", false, kGammaBelowOne},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Main->SpinEdit1->SetValue(row.wedge);
        Main->Button2Click();
        ASSERT_TRUE(errors.Boxes.empty());
        const QImage picture = Picture();
        const QString mach = Main->Label6->text();
        const std::int32_t limit = Main->SpinEdit2->MinValue();
        SetGas(row.soundSpeed, row.gammaTimesTen);
        ASSERT_EQ(errors.Boxes.size(), 1u);
        EXPECT_EQ(errors.Boxes[0].Informative, QString::fromUtf8(row.advice));
        EXPECT_EQ(errors.Boxes[0].Window, Main) << "the settings window has closed: on the main window";
        ExpectBox(QString::fromUtf8(row.message));
        EXPECT_FALSE(Opt->isVisible());
        EXPECT_TRUE(Main->isEnabled());
        EXPECT_EQ(Flow.SoundSpeed, row.soundSpeed) << "the gas is taken over all the same";
        EXPECT_DOUBLE_EQ(Flow.Gamma, row.gammaTimesTen / 10.0);
        EXPECT_EQ(Main->SpinEdit2->MinValue(), limit) << "the limit is raised only after a good Apply";
        if (row.pictureKept) {
            EXPECT_EQ(Picture(), picture);
            EXPECT_EQ(Main->Label6->text(), mach);
        }
        ExpectOnlyNumbersShown();
        ExpectGoodApplyRecovers();
    }
}

TEST_F(BadInputTest, SpeedOfSoundOfAMinusSignAloneReadsAsZero) {
    Main->N2Click();
    Opt->cc1->SetText(QStringLiteral("-"));
    Opt->BitBtn1Click();
    ExpectBox(QStringLiteral("Floating point division by zero."));
    EXPECT_EQ(Flow.SoundSpeed, 0.0);
    // The Mach label divides by the same zero when the velocity field is clicked.
    QTest::mouseClick(Main->SpinEdit2->Editor(), Qt::LeftButton, {}, QPoint(10, 10));
    ExpectBox(QStringLiteral("Floating point division by zero."));
    EXPECT_EQ(Main->Label6->text(), "2");
    ExpectGoodApplyRecovers();
}

TEST_F(BadInputTest, NegativeSpeedOfSoundLowersTheVelocityLimitBelowZero) {
    SetGas(-100, 14);
    EXPECT_TRUE(errors.Boxes.empty());
    EXPECT_EQ(Main->SpinEdit2->MinValue(), -85);
    EXPECT_EQ(Main->Label12->text(), "-100");
    EXPECT_EQ(Main->Label6->text(), "-6.8"); // 680 / -100
    ExpectOnlyNumbersShown();

    // V1 = 0 is now allowed by the field: the diagram's scale 330 / V1 divides by zero.
    ClickApply(20, 0);
    ExpectBox(QStringLiteral("Floating point division by zero."));
    EXPECT_EQ(Main->Label6->text(), "0");

    // A negative V1 has no polar to cut: no point C, no shock, the ratios hidden, no box.
    ClickApply(20, -50);
    EXPECT_TRUE(errors.Boxes.empty());
    EXPECT_EQ(Flow.V1, -50);
    EXPECT_EQ(Flow.PointCx, 0);
    EXPECT_EQ(Flow.ShockAngle, 0.0);
    EXPECT_FALSE(Flow.ShockDetached);
    EXPECT_FALSE(RatiosShown());
    EXPECT_EQ(Main->Label6->text(), "0.5"); // -50 / -100
    ExpectOnlyNumbersShown();
    ExpectGoodApplyRecovers();
}

// ---------------------------------------------------------------------------------------------
// The velocity field at and beyond its limits.

TEST_F(BadInputTest, VelocityAtItsLimitsIsSolved) {
    // V1 = 365 m/s (M = 1.074): the polar is too small for a 20° wedge, the shock detaches.
    ClickApply(20, 365);
    EXPECT_TRUE(errors.Boxes.empty());
    EXPECT_EQ(Main->Label6->text(), "1.074");
    EXPECT_TRUE(Flow.ShockDetached);
    EXPECT_FALSE(RatiosShown());
    EXPECT_FALSE(FormulasShown());

    // V1 = 1 000 000 m/s (M = 2941): the density ratio reaches its strong-shock limit
    // (γ − 1)/(γ + 1) = 1/6 to three decimals.
    ClickApply(20, 1000000);
    EXPECT_TRUE(errors.Boxes.empty());
    EXPECT_EQ(Main->Label6->text(), "2941.176");
    EXPECT_FALSE(Flow.ShockDetached);
    EXPECT_TRUE(RatiosShown());
    EXPECT_EQ(Main->Label1->text(), "0.167");
    ExpectOnlyNumbersShown();
    ExpectGoodApplyRecovers();
}

TEST_F(BadInputTest, VelocityTypedBeyondItsLimitsIsClampedWhenTheFieldIsLeft) {
    Main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Main));
    struct Row {
        const char* typed;
        const char* shown;
    };
    const Row rows[] = {
        {"2000000", "1000000"},
        {"100", "365"},
        {"-680", "365"},
        {"0", "365"},
        // A whole number beyond 32 bits is beyond the field's limits as well.
        {"99999999999", "1000000"},
        {"-99999999999", "365"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typed);
        QLineEdit* editor = Main->SpinEdit2->Editor();
        editor->setFocus();
        editor->selectAll();
        QTest::keyClicks(editor, QString::fromLatin1(row.typed));
        EXPECT_EQ(Main->SpinEdit2->Text(), QString::fromLatin1(row.typed));
        QTest::mouseClick(Main->Button2, Qt::LeftButton); // leaves the field, then applies
        EXPECT_EQ(Main->SpinEdit2->Text(), QString::fromLatin1(row.shown));
        EXPECT_EQ(Flow.V1, QString::fromLatin1(row.shown).toInt()) << "Apply solves what the field shows";
        EXPECT_TRUE(errors.Boxes.empty());
    }
    ExpectGoodApplyRecovers();
}

// ---------------------------------------------------------------------------------------------
// Wedge angles at the ends of the field and where the shock detaches.

TEST_F(BadInputTest, WedgeAnglesAtTheEdges) {
    // No wedge: the polar touches the Vx axis near A and near B; C is the last sample near B.
    ClickApply(0, 680);
    EXPECT_TRUE(errors.Boxes.empty());
    EXPECT_EQ(Flow.PointCx, 679);
    EXPECT_EQ(Flow.PointCy, 2);
    EXPECT_EQ(Flow.ShockAngle, 0.0);
    EXPECT_FALSE(Flow.ShockDetached);
    EXPECT_FALSE(RatiosShown());
    EXPECT_TRUE(FormulasShown());
    ExpectGoodApplyRecovers();

    // Beyond χmax (45.6°) at M = 2 the shock detaches, up to a wedge standing across the flow.
    for (int wedge : {88, 90}) {
        SCOPED_TRACE(wedge);
        ClickApply(wedge, 680);
        EXPECT_TRUE(errors.Boxes.empty());
        EXPECT_TRUE(Flow.ShockDetached);
        EXPECT_GT(Flow.ShockAngle, 0.0);
        EXPECT_GT(Flow.DetachedRadius, 0);
        EXPECT_FALSE(RatiosShown());
        EXPECT_FALSE(FormulasShown());
        ExpectOnlyNumbersShown();
        ExpectGoodApplyRecovers();
    }

    // 180°: tan χ is a tiny negative number; C lies next to B as for no wedge, and the line
    // through B and C stands upright, a normal shock: P2/P1 = (2γM² − (γ − 1))/(γ + 1) = 4.5,
    // ρ1/ρ2 = ((γ − 1)M² + 2)/((γ + 1)M²) = 0.375 and T2/T1 = 4.5 × 0.375 = 1.6875 at M = 2.
    ClickApply(180, 680);
    EXPECT_TRUE(errors.Boxes.empty());
    EXPECT_EQ(Flow.PointCx, 679);
    EXPECT_EQ(Flow.PointCy, 2);
    EXPECT_NEAR(Flow.ShockAngle, -1.5707963267948966, 1e-9); // −π/2, radians
    EXPECT_TRUE(RatiosShown());
    EXPECT_EQ((QStringList{Main->Label2->text(), Main->Label1->text(), Main->Label8->text(),
                           Main->Label11->text()}),
              (QStringList{"4.5", "0.375", "0.999", "1.687"}));
    ExpectGoodApplyRecovers();
}

TEST_F(BadInputTest, WedgeTypedBeyondItsLimitsIsClampedWhenTheFieldIsLeft) {
    Main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Main));
    struct Row {
        const char* typed;
        const char* shown;
    };
    const Row rows[] = {{"-5", "0"}, {"181", "180"}, {"99999999999", "180"}, {"-99999999999", "0"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typed);
        QLineEdit* editor = Main->SpinEdit1->Editor();
        editor->setFocus();
        editor->selectAll();
        QTest::keyClicks(editor, QString::fromLatin1(row.typed));
        QTest::mouseClick(Main->Button2, Qt::LeftButton);
        EXPECT_EQ(Main->SpinEdit1->Text(), QString::fromLatin1(row.shown));
        EXPECT_DOUBLE_EQ(Flow.WedgeAngle,
                         QString::fromLatin1(row.shown).toDouble() * 3.14159265358979323846 / 180)
            << "Apply solves what the field shows";
        EXPECT_TRUE(errors.Boxes.empty());
    }
    ExpectGoodApplyRecovers();
}
