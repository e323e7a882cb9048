// Export of the region under the selection frame, and the background and texture pictures.
#include "app/Makewindow1.h"
#include "controls/SelShape.h"
#include "framework/TFileDialog.h"
#include "framework/TImage.h"
#include "framework/TPanel.h"
#include "framework/TPictureFile.h"
#include "render/dxfLabel.h"

#include <QPixmap>

namespace {

// Where Panel3, the preview's parent, starts in the window: inside the left and title bars.
constexpr QPoint kClientPanelOrigin(6, 26);

} // namespace

QImage TMakeForm1::CaptureSelection()
{
    SelShape1->setVisible(false);
    const QRect region(Panel0->pos() + SelShape1->pos() + kClientPanelOrigin, SelShape1->size());
    // Rendering the window offscreen gives the pixels the screen shows, without the frame.
    QImage shot = grab(region).toImage();
    SelShape1->setVisible(true);
    if (shot.size() != region.size())
        shot = shot.scaled(region.size());
    return shot.convertToFormat(QImage::Format_RGB888);
}

void TMakeForm1::SpeedButton6Click(QObject*)
{
    Image2->ClearPicture();
    Image2->resize(SelShape1->size());
    Image2->SetPicture(CaptureSelection());
    if (SavePictureDialog1->Execute(this))
        TPictureFile::SaveBmp24(Image2->Picture(), SavePictureDialog1->FileName());
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
