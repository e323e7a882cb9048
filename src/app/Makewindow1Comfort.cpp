// The window's editing comfort: value hints, shortcuts and the preview's menu, drops, recent
// files and the folders the file dialogs remember.
#include "app/LogoDrops.h"
#include "app/Makewindow1.h"
#include "app/RecentFiles.h"
#include "app/ValueHints.h"
#include "app/WindowActions.h"
#include "controls/NewHint.h"
#include "framework/TApplication.h"
#include "framework/TDialogs.h"
#include "framework/TFileDialog.h"
#include "framework/TImage.h"
#include "framework/TPictureFile.h"
#include "framework/TTimer.h"
#include "framework/TTrackBar.h"
#include "platform/Sound.h"
#include "render/dxfLabel.h"

#include <QFileInfo>

#include <array>

using namespace Qt::StringLiterals;

namespace {

// Direction track bar positions, clockwise from the lower right as the shadow falls.
const std::array<QString, 8> kDirectionNames = {
    u"右下"_s, u"下"_s, u"左下"_s, u"左"_s, u"左上"_s, u"上"_s, u"右上"_s, u"右"_s,
};

void ShowPictureUnreadable(QWidget* parent, const QString& fileName, const QString& reason)
{
    Sound::MessageBeep(Sound::MB_OK);
    const TApplication* app = TApplication::Instance();
    TDialogs::Current().MessageBox(parent, u"画像ヲ読込メズ...\n"_s + fileName + u"\n"_s + reason,
                                   app ? app->Title() : QString(), MB_OK);
}

// Each file dialog opens where it was used last, also in the next run.
void RememberFolder(TFileDialog* dialog, const QString& name)
{
    dialog->SetInitialDir(TRecentFiles::LastFolder(name));
    dialog->OnFileChosen = [name](const QString& chosen) {
        TRecentFiles::SetLastFolder(name, QFileInfo(chosen).absolutePath());
    };
}

} // namespace

void TMakeForm1::CreateComfort()
{
    ValueHints = new TValueHints(this);
    ValueHints->Watch(TrackBar1, u"サイズ"_s);
    ValueHints->Watch(TrackBar3, u"回転"_s, [](int p) { return QString::number(p) + u"°"_s; });
    ValueHints->Watch(TrackBar2, u"影ノ深度"_s);
    ValueHints->Watch(TrackBar6, u"影ノ方向"_s, [](int p) {
        return p >= 0 && p < int(kDirectionNames.size()) ? kDirectionNames[std::size_t(p)]
                                                         : QString::number(p);
    });
    AppHint1->OnShowHint = [hints = ValueHints](QString& text, bool& canShow, THintInfo& info) {
        hints->ShowHint(text, canShow, info);
    };

    Actions = new TWindowActions(this);
    Drops = new TLogoDrops(this);

    const std::pair<TFileDialog*, QString> dialogs[] = {
        {OpenDialog1, u"OpenDialog1"_s},
        {SaveDialog1, u"SaveDialog1"_s},
        {OpenPictureDialog1, u"OpenPictureDialog1"_s},
        {OpenPictureDialog2, u"OpenPictureDialog2"_s},
        {SavePictureDialog1, u"SavePictureDialog1"_s},
    };
    for (const auto& [dialog, name] : dialogs)
        RememberFolder(dialog, name);
}

void TMakeForm1::LoadWithTransition(const QString& fileName)
{
    // One transition at a time: a request while the panel moves is dropped.
    if (Timer1->Enabled() || Timer2->Enabled() || fileName.isEmpty())
        return;
    FPendingLoad = fileName;
    SpeedButton2Click(this);
}

bool TMakeForm1::SetBackgroundFile(const QString& fileName)
{
    QImage picture;
    try {
        picture = TPictureFile::Load(fileName);
    } catch (const std::exception& e) {
        ShowPictureUnreadable(this, fileName, QString::fromUtf8(e.what()));
        return false;
    }
    OpenPictureDialog1->SetFileName(fileName);
    Image1->SetPicture(picture);
    Image1->setVisible(true);
    Label1->SetTransparent(true);
    return true;
}

bool TMakeForm1::SetTextureFile(const QString& fileName)
{
    QImage picture;
    try {
        picture = TPictureFile::Load(fileName);
    } catch (const std::exception& e) {
        ShowPictureUnreadable(this, fileName, QString::fromUtf8(e.what()));
        return false;
    }
    OpenPictureDialog2->SetFileName(fileName);
    Label1->SetGlyph(picture);
    return true;
}

void TMakeForm1::LogoFileUsed(const QString& fileName)
{
    TRecentFiles().Add(fileName);
}
