// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "document/LogoDocument.h"

#include <QElapsedTimer>
#include <QWidget>

#include <functional>
#include <optional>
#include <utility>

class QObject;
struct PreviewScene;
struct RenderOptions;
struct RenderPictures;
struct TChooserLook;
class TAppHint;
class TBevel;
class TColorDialog;
class TdxfLabel;
class TEdit;
class TFileDialog;
class TFontComboBox;
class TGradBox;
class TImage;
class TPanel;
class TSelShape;
class TShadowLabel;
class TShineSpeedButton;
class TTimer;
class TTrackBar;
class TLogoDrops;
class TLogoEditor;
class TLogoHistory;
class TValueHints;
class TWarpChooser;
class TWindowActions;

// The one main window: a borderless, skinned form that drags by its own surface. Its controls
// are public, named as in the layout, and every editing action is one of its handlers.
class TMakeForm1 : public QWidget
{
    Q_OBJECT

public:
    // `programPath` is argument 0 of the command line: the window's folder and the program
    // name of the information page come from it.
    explicit TMakeForm1(const QString& programPath, QWidget* parent = nullptr);
    ~TMakeForm1() override;

    using Handler = void (TMakeForm1::*)(QObject* Sender);

    static constexpr int kClientWidth = 802;
    static constexpr int kClientHeight = 493;

    QString AppDir() const { return FAppDir; }
    bool ActionDone() const { return FActionDone; }
    // The address of the maker's information page for this program.
    QString InformationAddress() const;

    // Places the window at the centre of its screen.
    void CenterOnDesktop();

    // Window shell.
    void SSButton11Click(QObject* Sender);
    void SpeedButton5Click(QObject* Sender);
    void ShineSpeedButton4Click(QObject* Sender);
    void SpeedButton4Click(QObject* Sender);

    // Logo editing.
    void Edit1Change(QObject* Sender);
    void FontComboBox1Change(QObject* Sender);
    void SpeedButton18Click(QObject* Sender);
    void SpeedButton19Click(QObject* Sender);
    void SpeedButton20Click(QObject* Sender);
    void SpeedButton21Click(QObject* Sender);
    void TrackBar1Change(QObject* Sender);
    void TrackBar3Change(QObject* Sender);
    void TrackBar2Change(QObject* Sender);
    void TrackBar6Change(QObject* Sender);
    void SpeedButton7Click(QObject* Sender);
    void SpeedButton8Click(QObject* Sender);
    void SpeedButton9Click(QObject* Sender);
    void SpeedButton10Click(QObject* Sender);
    void SpeedButton11Click(QObject* Sender);
    void SpeedButton12Click(QObject* Sender);
    void SpeedButton13Click(QObject* Sender);
    void SpeedButton14Click(QObject* Sender);
    void SpeedButton15Click(QObject* Sender);
    // The new-document reset that the New transition runs at its turning point.
    void NewDocument();

    // Logo data file.
    void SpeedButton3Click(QObject* Sender);
    void SaveLogoFile(const QString& fileName);
    void LoadLogoFile(const QString& fileName);
    // The logo being edited: the editor's document.
    const LogoDocument& Document() const;
    // The document the preview shows and every export draws: Document(), except that the
    // layout's start caption and face stay until their fields are first applied.
    LogoDocument ShownDocument() const;
    // The pictures the editor holds for it: the background while it is shown, and the texture.
    const RenderPictures& Pictures() const;
    // Shows the editor's document in the controls (positions, buttons down, the colour dialogs'
    // colours, the background picture) and in the preview. Runs after every change.
    void ShowDocument();
    // Makes `document` the logo as a logo file load does: the texture and the background are
    // loaded from their names (a picture that fails is reported and left out), the face is the
    // one the face list selects for its name, and the editor takes it all as one change.
    void ApplyDocument(const LogoDocument& document);

    // Slide transition of New and Load. The phase counts steps from the start screen (0, the
    // preview out of view) to the preview in view (kSlideSteps); the window's size follows it.
    static constexpr int kSlideSteps = 32;
    int SlidePhase() const { return FSlidePhase; }
    static QSize SlideSize(int phase);
    void SpeedButton1Click(QObject* Sender);
    void SpeedButton2Click(QObject* Sender);
    void Timer1Timer(QObject* Sender);
    void Timer2Timer(QObject* Sender);

    // Export and pictures.
    void SpeedButton6Click(QObject* Sender);
    void SpeedButton16Click(QObject* Sender);
    void SpeedButton17Click(QObject* Sender);
    // The region inside the selection frame as every export draws it: the shown document and
    // the window's pictures through the renderer, whether or not the preview is in view.
    QImage RenderSelection(const RenderOptions& options) const;
    // The same at one pixel per preview pixel, opaque, as BMP保存 writes it (RGB888).
    QImage CaptureSelection() const;
    // The selection frame's region in preview pixels (from the label's top-left corner).
    QRect SelectionRegion() const;
    // What the preview shows now, for the renderer.
    PreviewScene ShownScene() const;
    // The scales a PNG export offers.
    static const QList<int>& PngScales();
    // The preview panel: where the preview's menu opens and dropped pictures land. Helpers
    // take it from here instead of reaching for the control.
    QWidget* PreviewPanel() const;
    // Whether a background picture is shown under the logo.
    bool BackgroundShown() const;
    // Where the preview lies on the screen: a panel that drives it opens beside it.
    QRect PreviewOnScreen() const;

    // Editing comfort (Makewindow1Comfort.cpp).
    // Asks before the changes since the last save or load are thrown away: 保存 (runs the save
    // dialog), 破棄 or キャンセル. False when the user cancels, here or in the save dialog.
    // Nothing is asked when nothing changed.
    bool ConfirmDiscard();
    // Whether `fileName` holds a logo; when not, says why (naming the file) and gives false.
    bool IsLogoFileOrSay(const QString& fileName);
    // Runs the Load transition on `fileName` instead of asking for a file at the turn; a file
    // that holds no logo is refused with a message.
    void LoadWithTransition(const QString& fileName);
    // A picture file as background or texture: read first, applied only when it could be read;
    // false (after a message) when it could not.
    bool SetBackgroundFile(const QString& fileName);
    bool SetTextureFile(const QString& fileName);
    // A logo file was saved or loaded under this name.
    void LogoFileUsed(const QString& fileName);
    // The dark list of the face chooser, which the choosers' panels take for their own.
    TChooserLook ChooserLook() const;

    // Controls, in creation order.
    TImage* Image2 = nullptr;
    TGradBox* GradBox3 = nullptr;
    TGradBox* GradBox1 = nullptr;
    TGradBox* GradBox4 = nullptr;
    TGradBox* GradBox6 = nullptr;
    TPanel* Panel3 = nullptr;
    TPanel* Panel5 = nullptr;
    TImage* Image26 = nullptr;
    TBevel* Bevel1 = nullptr;
    TShadowLabel* SLabel1 = nullptr;
    TShadowLabel* ShadowLabel1 = nullptr;
    TShadowLabel* ShadowLabel2 = nullptr;
    TShadowLabel* ShadowLabel3 = nullptr;
    TShadowLabel* ShadowLabel6 = nullptr;
    TShadowLabel* ShadowLabel5 = nullptr;
    TShadowLabel* ShadowLabel7 = nullptr;
    TShadowLabel* ShadowLabel4 = nullptr;
    TShadowLabel* ShadowLabel8 = nullptr;
    TShadowLabel* ShadowLabel9 = nullptr;
    TShineSpeedButton* SpeedButton1 = nullptr;
    TShineSpeedButton* SpeedButton2 = nullptr;
    TShineSpeedButton* SpeedButton3 = nullptr;
    TShineSpeedButton* SpeedButton6 = nullptr;
    TShineSpeedButton* SpeedButton4 = nullptr;
    TShineSpeedButton* SpeedButton5 = nullptr;
    TShineSpeedButton* SpeedButton18 = nullptr;
    TShineSpeedButton* SpeedButton19 = nullptr;
    TShineSpeedButton* SpeedButton20 = nullptr;
    TShineSpeedButton* SpeedButton21 = nullptr;
    TShineSpeedButton* SpeedButton7 = nullptr;
    TShineSpeedButton* SpeedButton8 = nullptr;
    TShineSpeedButton* SpeedButton9 = nullptr;
    TShineSpeedButton* SpeedButton10 = nullptr;
    TShineSpeedButton* SpeedButton11 = nullptr;
    TShineSpeedButton* SpeedButton12 = nullptr;
    TShineSpeedButton* SpeedButton13 = nullptr;
    TShineSpeedButton* SpeedButton14 = nullptr;
    TShineSpeedButton* SpeedButton15 = nullptr;
    TShineSpeedButton* SpeedButton16 = nullptr;
    TBevel* Bevel2 = nullptr;
    TShadowLabel* ShadowLabel10 = nullptr;
    TShineSpeedButton* SpeedButton17 = nullptr;
    TEdit* Edit1 = nullptr;
    TPanel* Panel1 = nullptr;
    TTrackBar* TrackBar1 = nullptr;
    TPanel* Panel4 = nullptr;
    TTrackBar* TrackBar3 = nullptr;
    TPanel* Panel8 = nullptr;
    TTrackBar* TrackBar6 = nullptr;
    TPanel* Panel9 = nullptr;
    TTrackBar* TrackBar2 = nullptr;
    TFontComboBox* FontComboBox1 = nullptr;
    TPanel* Panel2 = nullptr;
    TImage* Image27 = nullptr;
    TPanel* Panel0 = nullptr;
    TImage* Image1 = nullptr;
    TdxfLabel* Label1 = nullptr;
    TSelShape* SelShape1 = nullptr;
    TPanel* Panel7 = nullptr;
    TShineSpeedButton* ShineSpeedButton4 = nullptr;
    TPanel* Panel6 = nullptr;
    TShineSpeedButton* SSButton11 = nullptr;
    TPanel* Panel10 = nullptr;
    TShineSpeedButton* SSButton10 = nullptr;

    // Non-visual components.
    TColorDialog* ColorDialog1 = nullptr;
    TColorDialog* ColorDialog2 = nullptr;
    TColorDialog* ColorDialog3 = nullptr;
    TTimer* Timer1 = nullptr;
    TFileDialog* OpenDialog1 = nullptr;
    TFileDialog* SaveDialog1 = nullptr;
    TFileDialog* OpenPictureDialog1 = nullptr;
    TTimer* Timer2 = nullptr;
    TFileDialog* SavePictureDialog1 = nullptr;
    TAppHint* AppHint1 = nullptr;
    TFileDialog* OpenPictureDialog2 = nullptr;

    // The logo being edited; every handler writes its field into it.
    TLogoEditor* Editor = nullptr;
    // Editing comfort: the undo history, value hints of the track bars, shortcuts and the
    // preview's menu, drops, the warp gallery.
    TLogoHistory* History = nullptr;
    TValueHints* ValueHints = nullptr;
    TWindowActions* Actions = nullptr;
    TLogoDrops* Drops = nullptr;
    TWarpChooser* WarpChooser = nullptr;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    enum TPictureUse { puTexture, puBackground };
    // Reads the part of a texture or background picture that a render can show; throws on
    // failure.
    virtual QImage LoadPicture(const QString& fileName, TPictureUse use) const;
    // The picture, or nothing after a beep and a message that say why it could not be read.
    std::optional<QImage> ReadPictureOrSay(const QString& fileName, TPictureUse use);

private:
    // Layout, in the order the controls are created.
    void CreateControls();
    void CreateBars();
    void CreateLowerPanel();
    void CreateFieldCaptions(bool afterDivider);
    void CreateShineButtons(int firstRow, int lastRow);
    void CreateEditingControls();
    void CreatePreview();
    void CreateTitleButtons();
    void CreateComponents();
    void CreateHintComponent();
    void SetTabOrder();
    void CreateComfort();
    void CreateHistorySteps();
    void RestoreDocument(const LogoDocument& document);

    // One change of the editor's document by a handler; none while the controls are being set
    // to show the document.
    void Edit(const std::function<void(LogoDocument&)>& mutate, int kind);
    // The font style of a button of the all-up group: its own while it is down, else none.
    void SetFontStyle(const TShineSpeedButton* button, TLogoFontStyle style);
    // The face the face list selects for a name, as the document keeps it.
    QString ListedFace(const QString& name);
    // The pictures `document` names, read; a picture that fails is reported and left null.
    RenderPictures LoadPictures(const LogoDocument& document);
    // The shown document in the preview label alone (a preview of the editor's changes).
    void ShowPreview();
    // Places the preview, the lower panel, the header and the window for `phase`.
    void SetSlidePhase(int phase);
    void EndSlide();
    // Puts back the slide's size when something else changed it just after a slide.
    void KeepSlideSize();
    void PlayTurnSound();
    // Asks the PNG options (remembered between exports) and writes the selection as PNG.
    void ExportPng(const QString& fileName);
    // The framed region as shapes, as shown, in "svg" or "pdf".
    void ExportVector(const QString& fileName, const QByteArray& format);

    bool FActionDone = false;
    // While the controls are set to show the document, their handlers change nothing.
    bool FShowing = false;
    QString FAppDir;
    // A file to load at the next turn of the Load transition instead of asking for one.
    QString FPendingLoad;
    // The layout starts the preview with a caption and a face that the text field and the
    // face list do not hold; each gives way once its field is applied.
    std::optional<QString> FStartCaption;
    std::optional<QString> FStartFace;
    QString FProgramPath;
    int FSlidePhase = 0;
    // The window's position and phase where the running slide began.
    std::optional<std::pair<QPoint, int>> FSlideStart;
    int FLowerBaseHeight = 0;
    int FHeaderBaseTop = 0;
    QElapsedTimer FSettle;
    int FSettleCount = 0;
    // Where the left button went down on the window's surface, until a move starts.
    std::optional<QPoint> FPressPoint;
    // Where the window was grabbed, while it is moved by hand (no window manager to do it).
    std::optional<QPoint> FDragOffset;
};

// The one instance, reachable by the handlers as the window itself.
extern TMakeForm1* MakeForm1;
