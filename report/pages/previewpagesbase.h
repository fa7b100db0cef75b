#pragma once

#include <QSize>
#include <QString>

class QPainter;

namespace rep {

class TrepComponent;
class TrepReportPage;

// The store of prepared pages as the engine and the viewers see it (0-based page indices).
class TrepCustomPreviewPages
{
public:
    virtual ~TrepCustomPreviewPages() = default;

    virtual int Count() const = 0;
    // Frees everything prepared; the current page becomes -1.
    virtual void Clear() = 0;
    virtual void BeginPreparation() = 0;
    // Keeps a copy of the template page and names its objects in the dictionary.
    virtual void RegisterSourcePage(TrepReportPage *page) = 0;
    virtual void BeginPass() = 0;
    // A new output page for the template page (or the existing one when writing over).
    virtual void AddPage(TrepReportPage *page) = 0;
    // Records a visible object (normally a band) with its visible children on the current page.
    virtual void AddObject(TrepComponent *object) = 0;
    virtual void Finish() = 0;
    // Between the passes of a double-pass run: drops what the first pass added.
    virtual void ClearFirstPassPages() = 0;

    // The rebuilt page; the store keeps ownership. nullptr when the store is empty.
    virtual TrepReportPage *GetPage(int index) = 0;
    // Width and height in report units, rounded; (0, 0) when the store is empty.
    virtual QSize PageSize(int index) = 0;
    // Draws one page at a scale and an offset in device pixels.
    virtual void DrawPage(int index, QPainter *canvas, double scaleX, double scaleY, double offsetX,
                          double offsetY) = 0;
    // Writes the prepared document; raises rt::Exception with the reason when it cannot.
    virtual void SaveToFile(const QString &fileName) = 0;

    // Index of the page objects are added to (-1 when empty).
    int CurrentPage = -1;
    // Index of the first page of the current report.
    int FirstPage = 0;
};

} // namespace rep
