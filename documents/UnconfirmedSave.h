#pragma once

#include <QString>

class CDocumentStore;
class QWidget;

// A document's first save whose commit the server never confirmed (it stopped answering while
// the commit was under way). Its number is kept, and the window's next save looks first whether
// the document got stored, so that the clerk never stores it twice under two numbers.
class UnconfirmedSave {
  public:
    enum class Found {
        Nothing, // nothing in doubt, or the document was not stored: save as usual
        Stored,  // the earlier save did land, under Number()
        Unknown, // the server still cannot tell (the read failed and said so)
    };

    // After a first save that failed: kept only when the action's commit was left in doubt.
    void AfterFailedFirstSave(const QString& oddnum);
    // A new or closed document: what was in doubt is no longer this window's concern.
    void Forget();
    Found Look(QWidget* parent, const CDocumentStore& store);
    QString Number() const { return m_strNumber; }
    // What the clerk is told when the earlier save turned out stored.
    static QString StoredMessage(const QString& oddnum);

  private:
    QString m_strNumber;
};
