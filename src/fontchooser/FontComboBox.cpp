#include "fontchooser/FontComboBox.h"

#include "fontchooser/ExampleHint.h"
#include "fontchooser/FontTypeMarks.h"
#include "framework/Property.h"
#include "platform/FontInfo.h"

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

void TFontComboBox::DrawItem(QPainter& p, int index, const QRect& rect, TOwnerDrawState state)
{
    if (index < 0 || index >= count())
        return;
    const bool selected = state & odSelected;
    TColor textColor = Font()->Color();
    if (selected)
        textColor = HighlightTextColor();
    else if (state & odDisabled)
        textColor = clInactiveCaption;
    p.fillRect(rect, ToQColor(selected ? HighlightColor() : Color()));
    if (state & odFocused) {
        // the dotted focus frame inverts every other pixel
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

    const int tag = ResolveTag(index);
    const QString text = itemText(index);
    int x = 3;
    if (HasOption(foDisplaySymbol)) {
        const QRect box(rect.left() + 2, rect.top(), kMarkHalf + 4, rect.height());
        QRect source;
        if (tag & kTrueTypeFontType)
            source = QRect(0, 0, kMarkHalf, FontTypeMarks::kHeight);
        else if (tag & kDeviceFontType)
            source = QRect(QPoint(kMarkHalf + 1, 0),
                           QPoint(2 * kMarkHalf - 1, FontTypeMarks::kHeight - 1));
        if (source.isValid()) {
            const QPoint at(box.left() + (box.width() - source.width()) / 2,
                            box.top() + (box.height() - source.height()) / 2);
            p.drawImage(at, FontTypeMarks::Masked(), source);
        }
        x = kMarkHalf + 10;
    }

    QFont face = font();
    if (HasOption(foDisplayFont))
        face.setFamily(text);
    if (!HasOption(foDisplaySelectedFont) && text == currentText() && (state & odComboBoxEdit))
        face = font();

    PaintSeparatorLine(p, rect, index, state);

    p.save();
    p.setClipRect(rect, Qt::IntersectClip);
    p.setFont(face);
    p.setPen(ToQColor(textColor));
    // The field of the closed list is lower than an entry of the open one: lift the text there
    // so that descenders stay inside.
    const QFontMetrics metrics(face);
    const int baseline =
        std::min(rect.top() + 1 + metrics.ascent(), rect.bottom() + 1 - metrics.descent());
    p.drawText(QPoint(x, baseline), text);
    p.restore();
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
