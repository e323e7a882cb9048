// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Export of the region under the selection frame, and the background and texture pictures.
// Every export draws the shown document through the renderer, as the command line does.
#include "app/LogoEditor.h"
#include "app/Makewindow1.h"
#include "app/Settings.h"
#include "controls/SelShape.h"
#include "controls/dxfLabel.h"
#include "framework/TDialogs.h"
#include "framework/TFileDialog.h"
#include "framework/TImage.h"
#include "framework/TPanel.h"
#include "output/PngWriter.h"
#include "output/VectorFile.h"
#include "platform/FileAccess.h"
#include "platform/TPictureFile.h"
#include "render/DocumentRenderer.h"
#include "render/VectorScene.h"

#include <QFileInfo>
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

QWidget* TMakeForm1::PreviewPanel() const
{
    return Panel0;
}

QRect TMakeForm1::PreviewOnScreen() const
{
    return {Panel0->mapToGlobal(QPoint()), Panel0->size()};
}

bool TMakeForm1::BackgroundShown() const
{
    return !Pictures().background.isNull();
}

PreviewScene TMakeForm1::ShownScene() const
{
    return DocumentRenderer::SceneOf(ShownDocument(), Pictures());
}

QRect TMakeForm1::SelectionRegion() const
{
    return SelShape1->geometry().translated(-Label1->pos());
}

QImage TMakeForm1::RenderSelection(const RenderOptions& options) const
{
    RenderOptions framed = options;
    framed.region = SelectionRegion();
    return DocumentRenderer::Render(ShownDocument(), Pictures(), framed);
}

QImage TMakeForm1::CaptureSelection() const
{
    return RenderSelection({}).convertToFormat(QImage::Format_RGB888);
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
    const QByteArray suffix = QFileInfo(fileName).suffix().toLower().toLatin1();
    if (suffix == "png")
        ExportPng(fileName);
    else if (VectorFile::IsVectorFormat(suffix))
        ExportVector(fileName, suffix);
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
    options.scale = chosen->scale;
    options.transparent = chosen->transparent;
    QString error;
    const std::optional<QByteArray> png = PngWriter::Encode(RenderSelection(options), &error);
    if (!png)
        throw EPictureFileError(u"画像ヲ PNG 形式ニ変換デキマセン: %1"_s.arg(error).toStdString());
    TPictureFile::SaveBytes(*png, fileName);
}

void TMakeForm1::ExportVector(const QString& fileName, const QByteArray& format)
{
    RenderOptions options;
    options.region = SelectionRegion();
    const QByteArray bytes = VectorFile::Encode(VectorScene::Of(ShownScene(), options), format);
    QString error;
    if (bytes.isEmpty() || !FileAccess::WriteFileAtomically(fileName, bytes, &error))
        throw EPictureFileError(
            u"画像 \"%1\" ヲ保存デキマセン: %2"_s.arg(fileName, error).toStdString());
}

void TMakeForm1::SpeedButton16Click(QObject*)
{
    if (!OpenPictureDialog1->Execute(this)) {
        OpenPictureDialog1->SetFileName(QString());
        Editor->SetBackground(QString(), QImage());
        return;
    }
    // Read first: a picture that cannot be read leaves the logo as it was.
    const QString fileName = OpenPictureDialog1->FileName();
    Editor->SetBackground(fileName, LoadPicture(fileName, puBackground));
}

void TMakeForm1::SpeedButton17Click(QObject*)
{
    if (!OpenPictureDialog2->Execute(this)) {
        OpenPictureDialog2->SetFileName(QString());
        Editor->SetTexture(QString(), QImage());
        return;
    }
    const QString fileName = OpenPictureDialog2->FileName();
    Editor->SetTexture(fileName, LoadPicture(fileName, puTexture));
}
