#include "TFileDialog.h"

#include <QFileDialog>
#include <QFileInfo>

namespace zk {

namespace {
FileDialogProvider* g_provider = nullptr;

FileDialogProvider& Provider() {
    static QtFileDialogProvider qtProvider;
    return g_provider ? *g_provider : qtProvider;
}
} // namespace

void SetFileDialogProvider(FileDialogProvider* provider) {
    g_provider = provider;
}

QStringList NameFilters(const QString& filter) {
    QStringList filters;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << parts[i] + QStringLiteral(" (") + patterns.simplified() + QLatin1Char(')');
    }
    return filters;
}

void ConfigureFileDialog(QFileDialog& dialog, const FileDialogRequest& request) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // The toolkit needs each pattern in brackets after its description; the list shows only the
    // descriptions, which name their patterns themselves, so no pattern appears twice.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    const QStringList filters = NameFilters(request.Filter);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    if (request.Kind == TFileDialogKind::Open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::AnyFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    }
    // The name of the last use, with its folder: the dialog opens where the user was.
    if (!request.FileName.isEmpty())
        dialog.selectFile(request.FileName);
}

std::optional<QString> QtFileDialogProvider::Ask(const FileDialogRequest& request) {
    QFileDialog dialog(request.Parent);
    ConfigureFileDialog(dialog, request);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return QString();
    return chosen.front();
}

TFileDialog::TFileDialog(TFileDialogKind kind, QWidget* owner) : Kind(kind), owner_(owner) {}

bool TFileDialog::Execute() {
    const std::optional<QString> chosen =
        Provider().Ask(FileDialogRequest{Kind, Filter, DefaultExt, FileName, owner_});
    if (!chosen)
        return false;
    QString name = *chosen;
    if (!name.isEmpty()) {
        if (!DefaultExt.isEmpty() && QFileInfo(name).suffix().isEmpty())
            name += QLatin1Char('.') + DefaultExt;
        name = QFileInfo(name).absoluteFilePath();
    }
    FileName = name;
    return true;
}

} // namespace zk
