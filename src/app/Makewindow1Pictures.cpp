// Export of the region under the selection frame, and the background and texture pictures.
#include "app/Makewindow1.h"
#include "app/Settings.h"
#include "controls/SelShape.h"
#include "controls/dxfLabel.h"
#include "framework/TDialogs.h"
#include "framework/TFileDialog.h"
#include "framework/TImage.h"
#include "framework/TPanel.h"
#include "framework/TPictureFile.h"
#include "render/DocumentRenderer.h"

#include <QSettings>

using namespace Qt::StringLiterals;

namespace {

// The PNG options last chosen, kept for the next export.
QSettings ExportSettings()
{
    return Settings::Open();
}

const QString kScaleKey = u"PngExport/Scale"_s;
const QString kTransparentKey = u"PngExport/Transparent"_s;

} // namespace

QImage TMakeForm1::CaptureSelection()
{
    const QRect region = SelShape1->geometry();
    QImage shot(region.size(), QImage::Format_RGB32);
    shot.fill(ToQColor(Panel0->Color()));
    SelShape1->setVisible(false);
    // The panel draws itself and its children straight into the picture: the pixels the
    // screen shows, without the frame, wherever the panel is and whatever the screen's scale.
    Panel0->render(&shot, QPoint(), QRegion(region),
                   QWidget::DrawWindowBackground | QWidget::DrawChildren);
    SelShape1->setVisible(true);
    return shot.convertToFormat(QImage::Format_RGB888);
}

QRect TMakeForm1::SelectionRegion() const
{
    return SelShape1->geometry().translated(-Label1->pos());
}

PreviewScene TMakeForm1::ShownScene() const
{
    PreviewScene scene;
    scene.look = Label1->Look();
    if (!Image1->isHidden())
        scene.background = Image1->Picture();
    scene.labelTransparent = Label1->Transparent();
    return scene;
}

const QList<int>& TMakeForm1::PngScales()
{
    static const QList<int> scales {1, 2, 3, 4, 8};
    return scales;
}

void TMakeForm1::SpeedButton6Click(QObject*)
{
    Image2->ClearPicture();
    Image2->resize(SelShape1->size());
    Image2->SetPicture(CaptureSelection());
    if (!SavePictureDialog1->Execute(this))
        return;
    const QString fileName = SavePictureDialog1->FileName();
    if (fileName.endsWith(u".png"_s, Qt::CaseInsensitive))
        ExportPng(fileName);
    else
        TPictureFile::SaveBmp24(Image2->Picture(), fileName);
}

void TMakeForm1::ExportPng(const QString& fileName)
{
    QSettings settings = ExportSettings();
    TPngOptions initial;
    initial.scale = settings.value(kScaleKey, 1).toInt();
    if (!PngScales().contains(initial.scale))
        initial.scale = 1;
    initial.transparent = settings.value(kTransparentKey, false).toBool();
    const std::optional<TPngOptions> chosen =
        TDialogs::Current().ChoosePngOptions(this, initial, SelShape1->size(), PngScales());
    if (!chosen)
        return;
    settings.setValue(kScaleKey, chosen->scale);
    settings.setValue(kTransparentKey, chosen->transparent);

    RenderOptions options;
    options.region = SelectionRegion();
    options.scale = chosen->scale;
    options.transparent = chosen->transparent;
    TPictureFile::Save(DocumentRenderer::Render(ShownScene(), options), fileName, "png");
}

void TMakeForm1::SpeedButton16Click(QObject*)
{
    if (!OpenPictureDialog1->Execute(this)) {
        Image1->setVisible(false);
        Image1->ClearPicture();
        Label1->SetTransparent(false);
        OpenPictureDialog1->SetFileName(QString());
        return;
    }
    Image1->setVisible(true);
    Image1->SetPicture(TPictureFile::Load(OpenPictureDialog1->FileName()));
    Label1->SetTransparent(true);
}

void TMakeForm1::SpeedButton17Click(QObject*)
{
    if (!OpenPictureDialog2->Execute(this)) {
        Label1->SetGlyph(QImage());
        OpenPictureDialog2->SetFileName(QString());
        return;
    }
    Label1->SetGlyph(TPictureFile::Load(OpenPictureDialog2->FileName()));
}
