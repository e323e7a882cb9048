#include "app/Makewindow1.h"

#include "framework/TAlign.h"
#include "framework/TColorDialog.h"
#include "framework/TFileDialog.h"
#include "platform/Colors.h"
#include "platform/FontInfo.h"
#include "platform/ProgramPath.h"
#include "platform/Shell.h"

#include <QGuiApplication>
#include <QIcon>
#include <QMouseEvent>
#include <QScreen>
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

} // namespace

TMakeForm1::TMakeForm1(const QString& programPath, QWidget* parent)
    : QWidget(parent,
              Qt::Window | Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint
                  | Qt::WindowSystemMenuHint)
    , FProgramPath(programPath)
{
    setObjectName(QStringLiteral("MakeForm1"));
    setWindowTitle(QStringLiteral("Quilvoro 2.5"));
    resize(kClientWidth, kClientHeight);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ToQColor(kFormColor));
    pal.setColor(QPalette::WindowText, ToQColor(clWindowText));
    setPalette(pal);
    setFont(FontInfo::MakeFont(QStringLiteral("ＭＳ Ｐゴシック"), 12));
    InitResources();
    setWindowIcon(QIcon(QStringLiteral(":/quilvoro/quilvoro.png")));

    CreateControls();
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
    if (windowHandle() && windowHandle()->startSystemMove())
        return;
    FDragOffset = event->globalPosition().toPoint() - pos();
}

void TMakeForm1::mouseMoveEvent(QMouseEvent* event)
{
    if (FDragOffset && (event->buttons() & Qt::LeftButton))
        move(event->globalPosition().toPoint() - *FDragOffset);
}

void TMakeForm1::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        FDragOffset.reset();
}

void TMakeForm1::resizeEvent(QResizeEvent*)
{
    Align::Arrange(this, rect());
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
    Shell::Open(InformationAddress());
}

void TMakeForm1::SpeedButton4Click(QObject*)
{
    Shell::Open(FAppDir + QStringLiteral("/Readme.txt"));
}
