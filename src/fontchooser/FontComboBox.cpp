// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fontchooser/FontComboBox.h"

#include "fontchooser/ExampleHint.h"
#include "fontchooser/FontTypeMarks.h"
#include "platform/FontInfo.h"
#include "platform/Property.h"

#include <QAbstractItemView>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QSet>
#include <QStandardItemModel>

#include <algorithm>

namespace {

constexpr int kMarkHalf = FontTypeMarks::kWidth / 2;
constexpr int kExampleMaxWidth = 200;

QChar AsciiLower(QChar c)
{
    return (c >= u'A' && c <= u'Z') ? QChar(c.unicode() + 32) : c;
}

QString AsciiFolded(const QString& text)
{
    QString folded = text;
    for (QChar& c : folded)
        c = AsciiLower(c);
    return folded;
}

bool CaseInsensitiveLess(const QString& a, const QString& b)
{
    const int order = a.compare(b, Qt::CaseInsensitive);
    return order != 0 ? order < 0 : a < b;
}

// Where a type's mark lies in the marks picture; invalid for a type without one.
QRect MarkSourceFor(int tag)
{
    if (tag & kTrueTypeFontType)
        return QRect(0, 0, kMarkHalf, FontTypeMarks::kHeight);
    if (tag & kDeviceFontType)
        return QRect(QPoint(kMarkHalf + 1, 0),
                     QPoint(2 * kMarkHalf - 1, FontTypeMarks::kHeight - 1));
    return {};
}

QPoint CentredIn(const QRect& box, QSize size)
{
    return {box.left() + (box.width() - size.width()) / 2,
            box.top() + (box.height() - size.height()) / 2};
}

// The dotted focus frame inverts every other pixel.
void DrawFocusFrame(QPainter& p, const QRect& rect)
{
    p.save();
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.setPen(Qt::white);
    for (int x = rect.left(); x <= rect.right(); x += 2) {
        p.drawPoint(x, rect.top());
        p.drawPoint(x, rect.bottom());
    }
    for (int y = rect.top() + 2; y < rect.bottom(); y += 2) {
        p.drawPoint(rect.left(), y);
        p.drawPoint(rect.right(), y);
    }
    p.restore();
}

void DrawFaceName(QPainter& p, const QRect& rect, const QFont& face, const QColor& ink,
                  QPoint baselineAt, const QString& text)
{
    p.save();
    p.setClipRect(rect, Qt::IntersectClip);
    p.setFont(face);
    p.setPen(ink);
    p.drawText(baselineAt, text);
    p.restore();
}

} // namespace

TFontComboBox::TFontComboBox(QWidget* parent)
    : TSkinComboBox(parent)
    , FExample(new TExampleHint(this))
    , FExampleText(QStringLiteral("Abc"))
{
    SetItemHeight(15);
    connect(this, &QComboBox::highlighted, this, [this](int index) {
        if (FShowExample && DroppedDown())
            ShowExampleFor(index);
    });
    connect(qGuiApp, &QGuiApplication::fontDatabaseChanged, this,
            &TFontComboBox::InstalledFontsChanged);
    Init();
    CreateFontList();
}

TFontComboBox::~TFontComboBox() = default;

QList<TFontComboBox::Face> TFontComboBox::EnumerateFaces(TFontCBOptions options)
{
    QList<Face> faces;
    QSet<QString> seen;
    // printers offer no fonts of their own here, so foPrinterFonts adds nothing
    if (options & FontCBOption(foScreenFonts)) {
        const QStringList families = FontInfo::PublicFamilies();
        faces.reserve(families.size());
        for (const QString& family : families) {
            const QString key = AsciiFolded(family);
            if (seen.contains(key))
                continue;
            const int type =
                QFontDatabase::isSmoothlyScalable(family) ? kTrueTypeFontType : kRasterFontType;
            if ((options & FontCBOption(foTrueTypeOnly)) && !(type & kTrueTypeFontType))
                continue;
            seen.insert(key);
            faces.append({family, type});
        }
    }
    std::sort(faces.begin(), faces.end(),
              [](const Face& a, const Face& b) { return CaseInsensitiveLess(a.name, b.name); });
    return faces;
}

QStringList TFontComboBox::ScreenFontNames()
{
    QStringList names;
    QSet<QString> seen;
    for (const QString& family : FontInfo::PublicFamilies()) {
        const QString key = AsciiFolded(family);
        if (seen.contains(key))
            continue;
        seen.insert(key);
        names.append(family);
    }
    std::sort(names.begin(), names.end(), CaseInsensitiveLess);
    return names;
}

void TFontComboBox::FillList(const QList<Face>& faces)
{
    ClearList();
    auto* items = qobject_cast<QStandardItemModel*>(model());
    QList<QStandardItem*> rows;
    rows.reserve(faces.size());
    for (const Face& face : faces) {
        auto* item = new QStandardItem(face.name);
        item->setData(face.type, TagRole);
        rows.append(item);
    }
    // one insertion for the whole list keeps building cheap with many faces
    items->invisibleRootItem()->appendRows(rows);
    setCurrentIndex(-1);
}

void TFontComboBox::CreateFontList()
{
    if (FFastMode)
        return;
    FillList(EnumerateFaces(FOptions));
}

void TFontComboBox::CopyScreenFonts()
{
    QList<Face> faces;
    for (const QString& name : ScreenFontNames())
        faces.append({name, 0});
    FillList(faces);
}

void TFontComboBox::SetFastMode(bool value)
{
    if (!StoreIfChanged(FFastMode, value))
        return;
    // the rebuilt list must not silently drop the face the owner already uses
    const QString remembered = GetSelectedFont();
    if (value)
        CopyScreenFonts();
    else
        CreateFontList();
    SetSelectedFont(remembered);
}

void TFontComboBox::SetOptions(TFontCBOptions value)
{
    if (!StoreIfChanged(FOptions, value))
        return;
    if (FFastMode) {
        update();
        return;
    }
    const QString remembered = GetSelectedFont();
    CreateFontList();
    SetSelectedFont(remembered);
}

void TFontComboBox::InstalledFontsChanged()
{
    const QString remembered = GetSelectedFont();
    if (FFastMode)
        CopyScreenFonts();
    else
        CreateFontList();
    Init();
    SetSelectedFont(remembered);
}

void TFontComboBox::Init()
{
    const QFontMetrics metrics(font());
    SetItemHeight(ItemHeightFor(metrics.size(Qt::TextSingleLine, QStringLiteral("W")).height()));
    view()->doItemsLayout();
}

QString TFontComboBox::GetSelectedFont() const
{
    return currentIndex() < 0 ? QString() : currentText();
}

void TFontComboBox::SetSelectedFont(const QString& value)
{
    if (GetSelectedFont() == value)
        return;
    QStringList faces;
    faces.reserve(count());
    for (int i = 0; i < count(); ++i)
        faces.append(itemText(i));
    setCurrentIndex(FontInfo::FindFace(faces, value));
    Change();
}

int TFontComboBox::ResolveTag(int index)
{
    int tag = Tag(index);
    if (FFastMode && tag == 0 && FontInfo::IsTrueType(QFont(itemText(index)))) {
        tag = kTrueTypeFontType;
        SetTag(index, tag);
    }
    return tag;
}

// Each part of an entry as it is drawn, decided before anything is painted.
struct TFontComboBox::ItemLayout
{
    QColor Back;
    QColor Ink;
    bool Focused = false;
    // The part of the type marks picture to show; invalid for none.
    QRect MarkSource;
    QPoint MarkAt;
    QString Text;
    QFont Face;
    QPoint TextAt;
};

TFontComboBox::ItemLayout TFontComboBox::LayoutItem(int index, const QRect& rect,
                                                    TOwnerDrawState state)
{
    ItemLayout item;
    const bool selected = state & odSelected;
    TColor ink = Font()->Color();
    if (selected)
        ink = HighlightTextColor();
    else if (state & odDisabled)
        ink = clInactiveCaption;
    item.Back = ToQColor(selected ? HighlightColor() : Color());
    item.Ink = ToQColor(ink);
    item.Focused = state & odFocused;

    // Resolved even without the mark: fast mode learns the type as entries come into view.
    const int tag = ResolveTag(index);
    int x = 3;
    if (HasOption(foDisplaySymbol)) {
        const QRect box(rect.left() + 2, rect.top(), kMarkHalf + 4, rect.height());
        item.MarkSource = MarkSourceFor(tag);
        item.MarkAt = CentredIn(box, item.MarkSource.size());
        x = kMarkHalf + 10;
    }

    item.Text = itemText(index);
    item.Face = font();
    if (HasOption(foDisplayFont))
        item.Face.setFamily(item.Text);
    if (!HasOption(foDisplaySelectedFont) && item.Text == currentText() && (state & odComboBoxEdit))
        item.Face = font();
    // The field of the closed list is lower than an entry of the open one: lift the text there
    // so that descenders stay inside.
    const QFontMetrics metrics(item.Face);
    item.TextAt = QPoint(
        x, std::min(rect.top() + 1 + metrics.ascent(), rect.bottom() + 1 - metrics.descent()));
    return item;
}

void TFontComboBox::DrawItem(QPainter& p, int index, const QRect& rect, TOwnerDrawState state)
{
    if (index < 0 || index >= count())
        return;
    const ItemLayout item = LayoutItem(index, rect, state);
    p.fillRect(rect, item.Back);
    if (item.Focused)
        DrawFocusFrame(p, rect);
    if (item.MarkSource.isValid())
        p.drawImage(item.MarkAt, FontTypeMarks::Masked(), item.MarkSource);
    PaintSeparatorLine(p, rect, index, state);
    DrawFaceName(p, rect, item.Face, item.Ink, item.TextAt, item.Text);
}

QPoint TFontComboBox::ExampleAnchor() const
{
    if (FExampleAlign == eaDropDownList)
        return {std::max(DropDownWidth(), width()), height()};
    return {width(), 0};
}

void TFontComboBox::ShowExampleFor(int index)
{
    if (index < 0 || index >= count())
        return;
    FExample->SetColor(clWhite);
    FExample->ReleaseHandle();
    QFont sample(itemText(index));
    sample.setPixelSize(FontInfo::PointsToPixels(FExampleFontSize));
    FExample->SetSampleFont(sample);
    QRect rect = FExample->CalcHintRect(kExampleMaxWidth, FExampleText);
    rect.moveTo(mapToGlobal(ExampleAnchor()));
    FExample->ActivateHint(rect, FExampleText);
}

void TFontComboBox::showPopup()
{
    TSkinComboBox::showPopup();
    // the open list starts with the current entry highlighted
    if (FShowExample && currentIndex() >= 0)
        ShowExampleFor(currentIndex());
}

void TFontComboBox::CloseUp()
{
    FExample->ReleaseHandle();
}
