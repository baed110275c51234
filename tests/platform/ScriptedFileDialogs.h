#pragma once
// A file dialog provider for tests: answers each dialog with the next scripted name (nothing for
// a cancel) and keeps the requests it was asked.
#include <QString>
#include <deque>
#include <optional>
#include <vector>

#include "TFileDialog.h"

class ScriptedFileDialogs : public zk::FileDialogProvider {
  public:
    ScriptedFileDialogs() { zk::SetFileDialogProvider(this); }
    ~ScriptedFileDialogs() override { zk::SetFileDialogProvider(nullptr); }

    void Answer(const QString& name) { answers_.push_back({true, name}); }
    void Cancel() { answers_.push_back({false, QString()}); }

    // Unscripted dialogs are cancelled.
    std::optional<QString> Ask(const zk::FileDialogRequest& request) override {
        Requests.push_back(request);
        if (answers_.empty())
            return std::nullopt;
        const Scripted answer = answers_.front();
        answers_.pop_front();
        if (!answer.Confirmed)
            return std::nullopt;
        return answer.Name;
    }

    std::vector<zk::FileDialogRequest> Requests;

  private:
    struct Scripted {
        bool Confirmed;
        QString Name;
    };
    std::deque<Scripted> answers_;
};
