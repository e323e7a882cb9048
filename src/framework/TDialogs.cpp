// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "framework/TDialogs.h"

#include "framework/TPngOptionsDialog.h"
#include "platform/FontInfo.h"
#include "platform/TPictureFile.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QImageReader>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

#include <algorithm>
#include <map>

using namespace Qt::StringLiterals;

namespace {

TDialogs* g_current = nullptr;

constexpr int kPreviewSide = 160;

QMessageBox::Icon IconOf(unsigned flags)
{
    switch (flags & 0xF0) {
    case MB_ICONERROR:
        return QMessageBox::Critical;
    case MB_ICONWARNING:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

// The highlighted picture, shrunk to fit, and its size; empty for anything that is not a picture
// the program could load.
void ShowPreview(QLabel* picture, QLabel* size, const QString& path)
{
    picture->clear();
    size->clear();
    if (!QFileInfo(path).isFile())
        return;
    QImage image;
    try {
        image = TPictureFile::Load(path);
    } catch (const EPictureFileError&) {
        return;
    }
    size->setText(u"%1 × %2"_s.arg(image.width()).arg(image.height()));
    if (image.width() > kPreviewSide || image.height() > kPreviewSide)
        image =
            image.scaled(kPreviewSide, kPreviewSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    picture->setPixmap(QPixmap::fromImage(image));
}

void AddPreview(QFileDialog* dialog)
{
    auto* box = new QWidget(dialog);
    box->setObjectName(u"picturePreview"_s);
    auto* picture = new QLabel(box);
    picture->setObjectName(u"previewPicture"_s);
    picture->setFixedSize(kPreviewSide, kPreviewSide);
    picture->setAlignment(Qt::AlignCenter);
    picture->setFrameShape(QFrame::StyledPanel);
    auto* size = new QLabel(box);
    size->setObjectName(u"previewSize"_s);
    size->setAlignment(Qt::AlignCenter);
    auto* column = new QVBoxLayout(box);
    column->addWidget(picture);
    column->addWidget(size);
    column->addStretch();
    if (auto* grid = qobject_cast<QGridLayout*>(dialog->layout()))
        grid->addWidget(box, 0, grid->columnCount(), grid->rowCount(), 1);
    QObject::connect(dialog, &QFileDialog::currentChanged, box,
                     [picture, size](const QString& path) { ShowPreview(picture, size, path); });
}

// "BMPファイル (*.bmp *.dib)" -> {"*.bmp", "*.dib"}
QStringList PatternsOf(const QString& qtFilter)
{
    const qsizetype open = qtFilter.lastIndexOf(u'(');
    const qsizetype close = qtFilter.lastIndexOf(u')');
    if (open < 0 || close < open)
        return {};
    return qtFilter.mid(open + 1, close - open - 1).split(u' ', Qt::SkipEmptyParts);
}

} // namespace

std::unique_ptr<QMessageBox> TDialogs::MakeMessageBox(QWidget* parent, const QString& text,
                                                      const QString& caption, unsigned flags)
{
    auto box = std::make_unique<QMessageBox>(IconOf(flags), caption, text, QMessageBox::Ok, parent);
    if (flags & MB_OKCANCEL)
        box->addButton(QMessageBox::Cancel);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    return box;
}

int TDialogs::MessageBox(QWidget* parent, const QString& text, const QString& caption,
                         unsigned flags)
{
    return MakeMessageBox(parent, text, caption, flags)->exec() == QMessageBox::Cancel ? IDCANCEL
                                                                                       : IDOK;
}

std::optional<TColor> TDialogs::ChooseColor(QWidget* parent, TColor initial)
{
    // Qt's own dialog speaks the interface's language; a desktop's native one might not.
    const QColor chosen = QColorDialog::getColor(ToQColor(initial), parent, QString(),
                                                 QColorDialog::DontUseNativeDialog);
    if (!chosen.isValid())
        return std::nullopt;
    return FromQColor(chosen);
}

std::unique_ptr<QFileDialog> TDialogs::MakeFileDialog(QWidget* parent,
                                                      const TFileDialogOptions& options)
{
    auto dialog = std::make_unique<QFileDialog>(parent, options.title, options.initialDir);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setNameFilters(options.picture ? PictureFilters(options.filter)
                                           : QtFilter(options.filter).split(u";;"_s));
    dialog->setDefaultSuffix(options.defaultExt);
    if (!options.fileName.isEmpty()) {
        // it opens on the type of the file it names, the one last chosen
        const QString wanted = u"*."_s + QFileInfo(options.fileName).suffix();
        const QStringList filters = dialog->nameFilters();
        for (auto filter = filters.begin(); filter != filters.end(); ++filter) {
            const QStringList patterns = PatternsOf(*filter);
            const auto pattern =
                std::find_if(patterns.begin(), patterns.end(), [&](const QString& p) {
                    return p.compare(wanted, Qt::CaseInsensitive) == 0;
                });
            if (pattern != patterns.end()) {
                dialog->selectNameFilter(*filter);
                dialog->setDefaultSuffix(pattern->mid(2));
                break;
            }
        }
        dialog->selectFile(options.fileName);
    }
    if (options.picture)
        AddPreview(dialog.get());
    return dialog;
}

QString TDialogs::OpenFileName(QWidget* parent, const TFileDialogOptions& options)
{
    std::unique_ptr<QFileDialog> dialog = MakeFileDialog(parent, options);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return {};
    return dialog->selectedFiles().constFirst();
}

QString TDialogs::SaveFileName(QWidget* parent, const TFileDialogOptions& options)
{
    std::unique_ptr<QFileDialog> dialog = MakeFileDialog(parent, options);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    // A name typed without an extension takes that of the chosen file type.
    QObject::connect(dialog.get(), &QFileDialog::filterSelected, dialog.get(),
                     [d = dialog.get()](const QString& filter) {
                         static const QRegularExpression pattern(
                             QStringLiteral(R"(\(\*\.(\w+)\))"));
                         const QRegularExpressionMatch match = pattern.match(filter);
                         if (match.hasMatch())
                             d->setDefaultSuffix(match.captured(1));
                     });
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return {};
    return dialog->selectedFiles().constFirst();
}

QWidget* TDialogs::MakeTextWindow(QWidget* parent, const QString& caption, const QString& text)
{
    auto* window = new QWidget(parent, Qt::Window);
    window->setObjectName(u"textWindow"_s);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(caption);
    auto* view = new QPlainTextEdit(window);
    view->setReadOnly(true);
    view->setPlainText(text);
    view->setLineWrapMode(QPlainTextEdit::NoWrap);
    // The read-me lines its columns up with spaces, so a face of fixed pitch.
    view->setFont(FontInfo::MakeFont(u"ＭＳ ゴシック"_s, 14));
    auto* column = new QVBoxLayout(window);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(view);
    window->resize(640, 480);
    return window;
}

void TDialogs::ShowText(QWidget* parent, const QString& caption, const QString& text)
{
    QWidget* window = MakeTextWindow(parent, caption, text);
    window->show();
    window->raise();
    window->activateWindow();
}

std::optional<TPngOptions> TDialogs::ChoosePngOptions(QWidget* parent, const TPngOptions& initial,
                                                      QSize regionSize, const QList<int>& scales)
{
    TPngOptionsDialog dialog(initial, regionSize, scales, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Options();
}

int TDialogs::AskChoice(QWidget* parent, const QString& text, const QString& caption,
                        const QStringList& buttons)
{
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::NoButton, parent);
    QList<QAbstractButton*> added;
    for (qsizetype i = 0; i < buttons.size(); ++i) {
        const bool last = i == buttons.size() - 1;
        added.append(
            box.addButton(buttons.at(i), last ? QMessageBox::RejectRole : QMessageBox::AcceptRole));
    }
    if (!added.isEmpty()) {
        box.setDefaultButton(qobject_cast<QPushButton*>(added.constFirst()));
        box.setEscapeButton(added.constLast());
    }
    box.exec();
    const qsizetype index = added.indexOf(box.clickedButton());
    return index >= 0 ? int(index) : int(buttons.size()) - 1;
}

std::optional<int> TDialogs::AskInteger(QWidget* parent, const QString& caption,
                                        const QString& label, int value, int min, int max)
{
    QInputDialog dialog(parent);
    dialog.setWindowTitle(caption);
    dialog.setLabelText(label);
    dialog.setInputMode(QInputDialog::IntInput);
    dialog.setIntRange(min, max);
    dialog.setIntValue(value);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("キャンセル"));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.intValue();
}

std::optional<QString> TDialogs::AskText(QWidget* parent, const QString& caption,
                                         const QString& label, const QString& value)
{
    QInputDialog dialog(parent);
    dialog.setWindowTitle(caption);
    dialog.setLabelText(label);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setTextValue(value);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("キャンセル"));
    if (dialog.exec() != QDialog::Accepted || dialog.textValue().trimmed().isEmpty())
        return std::nullopt;
    return dialog.textValue().trimmed();
}

TDialogs& TDialogs::Current()
{
    static TDialogs real;
    return g_current ? *g_current : real;
}

void TDialogs::SetCurrent(TDialogs* value)
{
    g_current = value;
}

QString TDialogs::QtFilter(const QString& filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList result;
    for (qsizetype i = 0; i < parts.size(); i += 2)
        result << parts.at(i);
    return result.join(QStringLiteral(";;"));
}

QStringList TDialogs::PictureFilters(const QString& filter)
{
    QStringList filters;
    if (!filter.isEmpty())
        filters = QtFilter(filter).split(u";;"_s);
    QStringList given;
    for (const QString& entry : filters)
        given << PatternsOf(entry);

    // Suffixes that name the same kind of picture (jpg, jpeg) share one entry; BMP leads.
    const QMimeDatabase mimes;
    std::map<QString, QStringList> patternsByType;
    QStringList order;
    QStringList all;
    for (const QByteArray& format : QImageReader::supportedImageFormats()) {
        const QString pattern = u"*."_s + QString::fromLatin1(format);
        const QMimeType mime =
            mimes.mimeTypeForFile(u"x"_s + pattern.mid(1), QMimeDatabase::MatchExtension);
        const QString type = mime.isDefault() ? pattern : mime.name();
        QStringList& patterns = patternsByType[type];
        if (patterns.isEmpty())
            order << type;
        patterns << pattern;
        all << pattern;
    }
    if (all.removeOne(u"*.bmp"_s))
        all.prepend(u"*.bmp"_s);
    filters << u"すべての画像 (%1)"_s.arg(all.join(u' '));
    for (const QString& type : order) {
        const QStringList& patterns = patternsByType[type];
        if (given.contains(patterns.constFirst()))
            continue; // already offered first
        filters << u"%1ファイル (%2)"_s.arg(patterns.constFirst().mid(2).toUpper(),
                                            patterns.join(u' '));
    }
    return filters;
}
