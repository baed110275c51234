// SPDX-License-Identifier: GPL-3.0-or-later
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

int ChosenFilterIndex(const QString& filter, const QString& selected) {
    const QStringList filters = NameFilters(filter);
    if (const qsizetype full = filters.indexOf(selected); full >= 0)
        return static_cast<int>(full) + 1;
    // With the patterns hidden, some versions of the toolkit answer with the entry as the list
    // shows it: the description alone.
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (int i = 0; i + 1 < parts.size(); i += 2)
        if (parts[i].simplified() == selected.simplified())
            return i / 2 + 1;
    return 0;
}

void ConfigureFileDialog(QFileDialog& dialog, const FileDialogRequest& request, int filterIndex) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // The toolkit needs each pattern in brackets after its description; the list shows only the
    // descriptions, which name their patterns themselves, so no pattern appears twice.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    const QStringList filters = NameFilters(request.Filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        if (filterIndex >= 1 && filterIndex <= filters.size())
            dialog.selectNameFilter(filters[filterIndex - 1]);
    }
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
    int filterIndex = 1;
    return AskWithFilter(request, filterIndex);
}

std::optional<QString> QtFileDialogProvider::AskWithFilter(const FileDialogRequest& request, int& filterIndex) {
    QFileDialog dialog(request.Parent);
    ConfigureFileDialog(dialog, request, filterIndex);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    if (const int chosenFilter = ChosenFilterIndex(request.Filter, dialog.selectedNameFilter());
        chosenFilter > 0)
        filterIndex = chosenFilter;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return QString();
    return chosen.front();
}

TFileDialog::TFileDialog(TFileDialogKind kind, QWidget* owner) : Kind(kind), owner_(owner) {}

bool TFileDialog::Execute() {
    int filterIndex = FilterIndex;
    const std::optional<QString> chosen =
        Provider().AskWithFilter(FileDialogRequest{Kind, Filter, DefaultExt, FileName, owner_}, filterIndex);
    if (!chosen)
        return false;
    FilterIndex = filterIndex;
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
