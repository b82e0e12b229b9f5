#pragma once

#include <QGroupBox>

// A frame whose title is a caption and a note joined by a rule of dashes
// ("销售出库单查询------说明:..."): the rule fills the width the frame has, down to a few dashes,
// so the whole title shows on a small screen as on a large one.
class RuledGroupBox : public QGroupBox {
    Q_OBJECT
  public:
    // title: the caption, a run of dashes and the note, as the window names the frame.
    explicit RuledGroupBox(const QString& title, QWidget* parent = nullptr);

    QSize minimumSizeHint() const override;

    // The title for a frame of the given width: as many dashes as fit, at least three.
    QString TitleFor(int width) const;

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    int TitleFrameWidth() const;

    QString m_strCaption;
    QString m_strNote;
};
