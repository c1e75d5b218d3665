#pragma once
// A host UI service for tests: records every question and answers from a
// queue; a question nobody expected fails the test.

#include "runtime/host/uHostUI.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace lx::test {

struct TQuestion {
    host::TMsgKind Kind;
    QString Text;
    host::TMsgButtons Buttons;
};

class TScriptedHostUI : public host::IHostUI {
public:
    /// Installs itself as the program's service; the destructor restores the previous one.
    TScriptedHostUI();
    ~TScriptedHostUI() override;

    /// The answer to the next question.
    void Expect(host::TMsgResult answer) { FAnswers.push_back({answer, {}}); }
    /// The same, running `meanwhile` while the question is open (the world
    /// changes while the user reads it).
    void Expect(host::TMsgResult answer, std::function<void()> meanwhile) {
        FAnswers.push_back({answer, std::move(meanwhile)});
    }
    /// The value (or a cancel, when nullopt-like `cancel` is true) for the next input box.
    void ExpectInput(const QString& value, bool cancel = false) {
        FInputs.push_back({value, cancel});
    }

    /// The path chosen in the next folder or file dialog (or a cancel).
    void ExpectPath(const QString& path, bool cancel = false) { FPaths.push_back({path, cancel}); }

    const std::vector<TQuestion>& Questions() const { return FQuestions; }
    /// Questions still expected but not asked.
    std::size_t Pending() const { return FAnswers.size() + FInputs.size() + FPaths.size(); }

    host::TMsgResult Ask(host::TMsgKind kind, const QString& text,
                         host::TMsgButtons buttons) override;
    bool InputBox(const QString& caption, const QString& prompt, QString& value) override;
    /// Recorded as a question whose text is the caption and the starting path.
    bool SelectFolder(const QString& caption, QString& folder) override;
    bool SelectFile(const QString& caption, QString& file) override;

private:
    struct TInput {
        QString Value;
        bool Cancel;
    };
    std::vector<TQuestion> FQuestions;
    struct TAnswer {
        host::TMsgResult Result;
        std::function<void()> Meanwhile;
    };
    std::deque<TAnswer> FAnswers;
    std::deque<TInput> FInputs;
    std::deque<TInput> FPaths;
    bool ChoosePath(const QString& caption, QString& path);
    host::IHostUI* FPrevious;
};

} // namespace lx::test
