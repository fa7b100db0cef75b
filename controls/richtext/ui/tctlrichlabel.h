#pragma once

#include "controls/richtext/richlabelmodel.h"

#include <QWidget>

namespace rtf {

// A caption showing one RTF document held as a list of lines. It renders its text into an
// image when its text, size, word wrap, frame, transparency, font or parent change, and
// paints that image on every paint until the next rendering.
class TCtlRichLabel : public QWidget
{
    Q_OBJECT
public:
    explicit TCtlRichLabel(QWidget *parent = nullptr);

    void setLines(const QStringList &lines);
    QStringList lines() const { return m_model.lines(); }
    // The whole document at once; split into lines at its line breaks.
    void setRichText(const QByteArray &rtf);

    void setWordWrap(bool on);
    bool wordWrap() const { return m_model.wordWrap(); }
    void setTransparent(bool on);
    bool transparent() const { return m_model.transparent(); }
    void setBevel(const TCtlRTFBevel &bevel);
    TCtlRTFBevel bevel() const { return m_model.bevel(); }

    // The background: the parent's colour while ParentColor is set, else the own colour.
    void setColor(const QColor &colour);
    QColor color() const;
    void setParentColor(bool on);
    bool parentColor() const { return m_parentColor; }

    // The image of the last rendering, null when nothing was rendered.
    const QImage &renderedImage() const { return m_model.image(); }
    int renderCount() const { return m_renderCount; }
    RichLabelModel &model() { return m_model; }

protected:
    // Renders again with the current text and looks; skipped while there is no parent.
    void rerender();
    virtual void renderModel();
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool event(QEvent *event) override;

    RichLabelModel m_model;

private:
    // Tells assistive technology that the text is another now.
    void textChanged();

    bool m_parentColor = true;
    QColor m_color = Qt::white;
    int m_renderCount = 0;
    QSize m_renderedSize;
};

} // namespace rtf
