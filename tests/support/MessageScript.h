#pragma once

#include <QList>
#include <QStringList>

#include "app/HarborMessageBox.h"

// Records every message box while it lives and answers from a script (IDOK when the script
// has run out). No test ever blocks on a modal box.
//
//   MessageScript messages({IDYES});
//   ...
//   QCOMPARE(messages.Texts(), QStringList{"保存成功"});
class MessageScript {
  public:
    explicit MessageScript(QList<int> answers = {});
    ~MessageScript();

    void Answer(int answer) { m_answers.append(answer); }
    const QList<MessageRecord>& Messages() const { return m_messages; }
    QStringList Texts() const;
    QString Last() const { return m_messages.isEmpty() ? QString() : m_messages.last().text; }
    int Count() const { return m_messages.size(); }
    void Clear() { m_messages.clear(); }

  private:
    QList<int> m_answers;
    QList<MessageRecord> m_messages;
};
