#include "MessageScript.h"

MessageScript::MessageScript(QList<int> answers) : m_answers(std::move(answers)) {
    SetMessageBoxHook([this](const MessageRecord& record) {
        m_messages.append(record);
        return m_answers.isEmpty() ? int(IDOK) : m_answers.takeFirst();
    });
}

MessageScript::~MessageScript() {
    SetMessageBoxHook({});
}

QStringList MessageScript::Texts() const {
    QStringList texts;
    for (const MessageRecord& record : m_messages)
        texts.append(record.text);
    return texts;
}
