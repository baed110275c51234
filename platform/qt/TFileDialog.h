// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's open and save dialogs.  Each keeps the file name of its last confirmed use and
// offers it again; a confirmed name without extension gets the default extension.  The asking
// itself goes through a FileDialogProvider, so tests can answer a dialog with a file name.
#include <QString>
#include <QStringList>
#include <optional>

class QFileDialog;
class QWidget;

namespace zk {

enum class TFileDialogKind {
    Open,        // the name may be of a file that does not exist
    Save,        // no question before an existing file is replaced
    SavePicture, // a save dialog for pictures
};

struct FileDialogRequest {
    TFileDialogKind Kind = TFileDialogKind::Open;
    QString Filter;     // "description|pattern|description|pattern..."
    QString DefaultExt; // without the dot; empty for none
    QString FileName;   // the name offered at the start
    QWidget* Parent = nullptr;
};

class FileDialogProvider {
  public:
    virtual ~FileDialogProvider() = default;
    // The name the user confirmed, or nothing when the user cancelled.
    virtual std::optional<QString> Ask(const FileDialogRequest& request) = 0;
    // The same, for a dialog that offers a choice of file types: filterIndex (from 1, in the
    // order of the filter's entries) is the type offered first and becomes the one the user
    // chose.  A provider that does not know of types leaves it as it is.
    virtual std::optional<QString> AskWithFilter(const FileDialogRequest& request, int& /*filterIndex*/) {
        return Ask(request);
    }
};

// The entry of filter (from 1) that the toolkit's dialog names as its selected name filter, in
// either of the forms the toolkit gives it; 0 when it names none of them.
int ChosenFilterIndex(const QString& filter, const QString& selected);

// Sets up the toolkit's dialog for a request: its filters, its mode and the name it offers.
void ConfigureFileDialog(QFileDialog& dialog, const FileDialogRequest& request, int filterIndex = 1);

// The toolkit's modal file dialog.
class QtFileDialogProvider : public FileDialogProvider {
  public:
    std::optional<QString> Ask(const FileDialogRequest& request) override;
    std::optional<QString> AskWithFilter(const FileDialogRequest& request, int& filterIndex) override;
};

// Installs the provider every dialog asks; nullptr restores the toolkit's dialog.
void SetFileDialogProvider(FileDialogProvider* provider);

// The filter "Text (txt)|*.txt;*.text" as the toolkit's name filters "Text (txt) (*.txt *.text)".
QStringList NameFilters(const QString& filter);

class TFileDialog {
  public:
    TFileDialog(TFileDialogKind kind, QWidget* owner);

    // Asks for a file.  On confirmation FileName becomes the full path of the chosen file (with
    // ".DefaultExt" added to a name without extension) and the result is true; on cancel
    // FileName keeps its value and the result is false.
    bool Execute();

    TFileDialogKind Kind;
    QString Filter;
    QString DefaultExt;
    QString FileName;
    // The entry of Filter (from 1) offered first; after a confirmation, the one the user chose.
    int FilterIndex = 1;

  private:
    QWidget* owner_;
};

} // namespace zk
