#include "ScriptedHostUI.h"

#include <gtest/gtest.h>

namespace lx::test {

TScriptedHostUI::TScriptedHostUI() : FPrevious(host::SetHostUI(this)) {}

TScriptedHostUI::~TScriptedHostUI() {
    host::SetHostUI(FPrevious);
}

host::TMsgResult TScriptedHostUI::Ask(host::TMsgKind kind, const QString& text,
                                      host::TMsgButtons buttons) {
    FQuestions.push_back({kind, text, buttons});
    if (FAnswers.empty()) {
        ADD_FAILURE() << "unexpected question: " << text.toStdString();
        return host::TMsgResult::Cancel;
    }
    const TAnswer a = FAnswers.front();
    FAnswers.pop_front();
    if (a.Meanwhile)
        a.Meanwhile();
    return a.Result;
}

bool TScriptedHostUI::InputBox(const QString& caption, const QString& prompt, QString& value) {
    FQuestions.push_back(
        {host::TMsgKind::Confirmation, caption + ": " + prompt, host::TMsgButtons::OkCancel});
    if (FInputs.empty()) {
        ADD_FAILURE() << "unexpected input box: " << prompt.toStdString();
        return false;
    }
    const TInput in = FInputs.front();
    FInputs.pop_front();
    if (in.Cancel)
        return false;
    value = in.Value;
    return true;
}

bool TScriptedHostUI::ChoosePath(const QString& caption, QString& path) {
    FQuestions.push_back(
        {host::TMsgKind::Confirmation, caption + ": " + path, host::TMsgButtons::OkCancel});
    if (FPaths.empty()) {
        ADD_FAILURE() << "unexpected path dialog: " << caption.toStdString();
        return false;
    }
    const TInput in = FPaths.front();
    FPaths.pop_front();
    if (in.Cancel)
        return false;
    path = in.Value;
    return true;
}

bool TScriptedHostUI::SelectFolder(const QString& caption, QString& folder) {
    return ChoosePath(caption, folder);
}

bool TScriptedHostUI::SelectFile(const QString& caption, QString& file) {
    return ChoosePath(caption, file);
}

} // namespace lx::test
