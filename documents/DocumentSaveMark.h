#pragma once

#include <QObject>
#include <QString>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// What a document window shows about its last save, without a box to dismiss: a status line
// (the window lays it out beside its document buttons) that tells the save's result, and a
// mark on the frame's caption and the number box while the screen is the stored document. 保存 is
// disabled while it is marked and enabled again by the first change.
class DocumentSaveMark : public QObject {
    Q_OBJECT
  public:
    DocumentSaveMark(QWidget* window, QGroupBox* frame, QLineEdit* number, QPushButton* save);

    QLabel* StatusLine() const { return m_pStatus; }
    bool IsMarked() const { return m_bMarked; }

    // Changes of these controls take the mark away (line edits, combo boxes, grids).
    void Watch(std::initializer_list<QObject*> controls);
    // The screen is the stored document; text goes to the status line.
    void MarkSaved(const QString& text = QString());
    // Something changed since the last save.
    void MarkChanged();
    // A document that is not stored: no mark, no status text.
    void Clear();
    // A text for the status line alone.
    void Tell(const QString& text);

  private:
    QGroupBox* m_pFrame;
    QLineEdit* m_pNumber;
    QPushButton* m_pSave;
    QLabel* m_pStatus;
    QString m_strCaption;
    bool m_bMarked = false;
};
