// SPDX-License-Identifier: GPL-3.0-or-later
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

    void Answer(const QString& name) { answers_.push_back({true, name, 0}); }
    // Confirms name with the filter entry filterIndex (from 1) chosen.
    void AnswerWithFilter(const QString& name, int filterIndex) {
        answers_.push_back({true, name, filterIndex});
    }
    void Cancel() { answers_.push_back({false, QString(), 0}); }

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

    std::optional<QString> AskWithFilter(const zk::FileDialogRequest& request, int& filterIndex) override {
        OfferedFilterIndexes.push_back(filterIndex);
        if (!answers_.empty() && answers_.front().Confirmed && answers_.front().FilterIndex > 0)
            filterIndex = answers_.front().FilterIndex;
        return Ask(request);
    }

    std::vector<zk::FileDialogRequest> Requests;
    std::vector<int> OfferedFilterIndexes; // the entry each dialog offered first

  private:
    struct Scripted {
        bool Confirmed;
        QString Name;
        int FilterIndex; // 0: the offered one
    };
    std::deque<Scripted> answers_;
};
