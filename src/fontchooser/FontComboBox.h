// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "fontchooser/SkinComboBox.h"

#include <QStringList>

#include <cstdint>

class TExampleHint;

// Bit n of the options byte is option n.
enum TFontCBOption : std::uint8_t {
    foPrinterFonts = 0,
    foScreenFonts = 1,
    foTrueTypeOnly = 2,
    foDisplayFont = 3,
    foDisplaySymbol = 4,
    foDisplaySelectedFont = 5,
};
using TFontCBOptions = std::uint8_t;

constexpr TFontCBOptions FontCBOption(TFontCBOption option)
{
    return static_cast<TFontCBOptions>(1u << option);
}

enum TFontComboExampleAlign : std::uint8_t {
    eaComboBox = 0,
    eaDropDownList = 1,
};

// Font-type bits of an entry's tag; 0 = not known yet (fast mode only).
constexpr int kRasterFontType = 1;
constexpr int kDeviceFontType = 2;
constexpr int kTrueTypeFontType = 4;

// Drop-down list of the installed font faces, sorted without regard to case, each with a mark
// for its type and optionally drawn in its own face, with a sample popup beside the open list.
class TFontComboBox : public TSkinComboBox
{
    Q_OBJECT

public:
    explicit TFontComboBox(QWidget* parent = nullptr);
    ~TFontComboBox() override;

    static constexpr TFontCBOptions kDefaultOptions = 0x32;

    TFontCBOptions Options() const { return FOptions; }
    void SetOptions(TFontCBOptions value);
    bool HasOption(TFontCBOption option) const { return FOptions & FontCBOption(option); }

    bool ShowExample() const { return FShowExample; }
    void SetShowExample(bool value) { FShowExample = value; }
    bool FastMode() const { return FFastMode; }
    void SetFastMode(bool value);
    int ExampleFontSize() const { return FExampleFontSize; }
    void SetExampleFontSize(int value) { FExampleFontSize = value; }
    QString ExampleText() const { return FExampleText; }
    void SetExampleText(const QString& value) { FExampleText = value; }
    TFontComboExampleAlign ExampleAlign() const { return FExampleAlign; }
    void SetExampleAlign(TFontComboExampleAlign value) { FExampleAlign = value; }

    QString GetSelectedFont() const;
    // Selects the entry named `value` (letter case aside). A Windows face name that this system
    // substitutes ("ＭＳ Ｐゴシック") selects the face that stands in for it, since that is the
    // face a control given the name really shows. Fires OnChange unless the text is unchanged.
    void SetSelectedFont(const QString& value);

    // Rebuilds the list from the installed faces; the MRU section goes with it.
    void CreateFontList();
    // Recomputes the item height from the control's font.
    void Init();

    // Item height for a "W" measured `wHeight` pixels high.
    static int ItemHeightFor(int wHeight) { return wHeight > 9 ? wHeight + 1 : 10; }

    // Where the sample popup's top-left corner goes, in control coordinates.
    QPoint ExampleAnchor() const;
    TExampleHint* ExamplePopup() const { return FExample; }
    // Shows the sample popup for entry `index`.
    void ShowExampleFor(int index);

    // Faces with their type bits as the enumeration delivers them, each once, sorted.
    struct Face
    {
        QString name;
        int type = 0;
    };
    static QList<Face> EnumerateFaces(TFontCBOptions options);
    // The face names alone, without type detection.
    static QStringList ScreenFontNames();

    void DrawItem(QPainter& painter, int index, const QRect& rect, TOwnerDrawState state) override;

    void showPopup() override;

protected:
    void FontChanged() override { Init(); }
    void CloseUp() override;

private:
    void CopyScreenFonts();
    void FillList(const QList<Face>& faces);
    void InstalledFontsChanged();
    int ResolveTag(int index);
    struct ItemLayout;
    ItemLayout LayoutItem(int index, const QRect& rect, TOwnerDrawState state);

    TFontCBOptions FOptions = kDefaultOptions;
    bool FShowExample = false;
    bool FFastMode = false;
    TExampleHint* FExample = nullptr;
    int FExampleFontSize = 12;
    QString FExampleText;
    TFontComboExampleAlign FExampleAlign = eaComboBox;
};
