// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/Makewindow1.h"

#include "app/LogoEditor.h"
#include "framework/TAlign.h"
#include "framework/TApplication.h"
#include "framework/TColorDialog.h"
#include "framework/TDialogs.h"
#include "framework/TFileDialog.h"
#include "framework/TImage.h"
#include "framework/TPanel.h"
#include "platform/Colors.h"
#include "platform/Cp932Codec.h"
#include "platform/FontInfo.h"
#include "platform/ProgramPath.h"
#include "platform/Shell.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QMouseEvent>
#include <QScreen>
#include <QStringDecoder>
#include <QWindow>

TMakeForm1* MakeForm1 = nullptr;

// The artwork lives in a static library, whose resources must be registered by hand.
static void InitResources()
{
    Q_INIT_RESOURCE(quilvoro);
}

namespace {

constexpr TColor kFormColor = 0x00FEE9C2;
const QString kInformationPage = QStringLiteral("https://www.quilvoro.example/info.php?pf=w&sn=");
// The read-me is a page of text; anything much larger is not it.
constexpr qint64 kReadmeLimit = 1024 * 1024;

QString AppTitle()
{
    const TApplication* app = TApplication::Instance();
    return app ? app->Title() : QString();
}

// The read-me in the program's own window, for a desktop that cannot open it.
void ShowReadme(QWidget* parent, const QString& path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || QFileInfo(path).size() > kReadmeLimit
        || !file.open(QIODevice::ReadOnly)) {
        TDialogs::Current().MessageBox(
            parent, QStringLiteral("ユーザーズガイド（Readme.txt）ヲ開ケマセン:\n") + path,
            AppTitle(), MB_ICONWARNING);
        return;
    }
    // Shift-JIS as the program always shipped it, or UTF-8 when it is valid UTF-8.
    const QByteArray bytes = file.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        text = Cp932Codec::Decode(bytes);
    TDialogs::Current().ShowText(parent, QStringLiteral("ユーザーズガイド - Readme.txt"), text);
}

} // namespace

TMakeForm1::TMakeForm1(const QString& programPath, QWidget* parent)
    : QWidget(parent,
              Qt::Window | Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint
                  | Qt::WindowSystemMenuHint)
    , FProgramPath(programPath)
{
    setObjectName(QStringLiteral("MakeForm1"));
    setWindowTitle(QStringLiteral("Quilvoro 2.5"));
    // the layout is drawn for one size: neither the user nor a window manager changes it
    setFixedSize(kClientWidth, kClientHeight);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ToQColor(kFormColor));
    pal.setColor(QPalette::WindowText, ToQColor(clWindowText));
    setPalette(pal);
    setFont(FontInfo::MakeFont(QStringLiteral("ＭＳ Ｐゴシック"), 12));
    InitResources();
    setWindowIcon(QIcon(QStringLiteral(":/quilvoro/quilvoro.png")));

    Editor = new TLogoEditor(this);
    connect(Editor, &TLogoEditor::Changed, this, &TMakeForm1::ShowDocument);
    connect(Editor, &TLogoEditor::PreviewChanged, this, &TMakeForm1::ShowPreview);
    CreateControls();
    FLowerBaseHeight = Panel5->height();
    FHeaderBaseTop = Image27->y();
    CreateComfort();
    FAppDir = ProgramPath::AppDir(programPath);
    if (!MakeForm1)
        MakeForm1 = this;
}

TMakeForm1::~TMakeForm1()
{
    delete ColorDialog1;
    delete ColorDialog2;
    delete ColorDialog3;
    delete OpenDialog1;
    delete SaveDialog1;
    delete OpenPictureDialog1;
    delete SavePictureDialog1;
    delete OpenPictureDialog2;
    if (MakeForm1 == this)
        MakeForm1 = nullptr;
}

QString TMakeForm1::InformationAddress() const
{
    return kInformationPage + ProgramPath::ProgramName(FProgramPath);
}

void TMakeForm1::CenterOnDesktop()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
}

void TMakeForm1::mousePressEvent(QMouseEvent* event)
{
    // Only the window's own surface gets here: the bars act as the caption.
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    event->accept();
    // A click is no move: the move starts only once the pointer has gone far enough.
    FPressPoint = event->globalPosition().toPoint();
    FDragOffset.reset();
}

void TMakeForm1::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton)) {
        FPressPoint.reset();
        FDragOffset.reset();
        return;
    }
    const QPoint global = event->globalPosition().toPoint();
    if (FPressPoint) {
        if ((global - *FPressPoint).manhattanLength() < QApplication::startDragDistance())
            return;
        const QPoint pressed = *std::exchange(FPressPoint, std::nullopt);
        if (windowHandle() && windowHandle()->startSystemMove())
            return;
        // No window manager to move it: the window follows the pointer from where it was
        // pressed.
        FDragOffset = pressed - pos();
    }
    if (FDragOffset)
        move(global - *FDragOffset);
}

void TMakeForm1::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        FPressPoint.reset();
        FDragOffset.reset();
    }
}

void TMakeForm1::resizeEvent(QResizeEvent*)
{
    Align::Arrange(this, rect());
    KeepSlideSize();
}

void TMakeForm1::SSButton11Click(QObject*)
{
    setWindowState(windowState() | Qt::WindowMinimized);
}

void TMakeForm1::SpeedButton5Click(QObject*)
{
    close();
}

void TMakeForm1::ShineSpeedButton4Click(QObject*)
{
    const QString address = InformationAddress();
    Shell::Open(address, this, [this, address](bool opened) {
        if (!opened)
            TDialogs::Current().MessageBox(
                this,
                QStringLiteral("ブラウザヲ起動デキマセン。\n次ノアドレスヲ開イテ下サイ:\n")
                    + address,
                AppTitle(), MB_ICONINFORMATION);
    });
}

void TMakeForm1::SpeedButton4Click(QObject*)
{
    const QString readme = ProgramPath::DataFile(FAppDir, QStringLiteral("Readme.txt"));
    Shell::Open(readme, this, [this, readme](bool opened) {
        if (!opened)
            ShowReadme(this, readme);
    });
}
