#include "framework/TDialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace {

TDialogs* g_current = nullptr;

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

QFileDialog* MakeFileDialog(QWidget* parent, const TFileDialogOptions& options)
{
    auto* dialog = new QFileDialog(parent, options.title, options.initialDir,
                                   TDialogs::QtFilter(options.filter));
    dialog->setDefaultSuffix(options.defaultExt);
    if (!options.fileName.isEmpty())
        dialog->selectFile(options.fileName);
    return dialog;
}

} // namespace

int TDialogs::MessageBox(QWidget* parent, const QString& text, const QString& caption,
                         unsigned flags)
{
    QMessageBox box(IconOf(flags), caption, text, QMessageBox::Ok, parent);
    if (flags & MB_OKCANCEL)
        box.addButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Cancel ? IDCANCEL : IDOK;
}

std::optional<TColor> TDialogs::ChooseColor(QWidget* parent, TColor initial)
{
    const QColor chosen = QColorDialog::getColor(ToQColor(initial), parent);
    if (!chosen.isValid())
        return std::nullopt;
    return FromQColor(chosen);
}

QString TDialogs::OpenFileName(QWidget* parent, const TFileDialogOptions& options)
{
    std::unique_ptr<QFileDialog> dialog(MakeFileDialog(parent, options));
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return {};
    return dialog->selectedFiles().constFirst();
}

QString TDialogs::SaveFileName(QWidget* parent, const TFileDialogOptions& options)
{
    std::unique_ptr<QFileDialog> dialog(MakeFileDialog(parent, options));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return {};
    return dialog->selectedFiles().constFirst();
}

TDialogs& TDialogs::Current()
{
    static TDialogs real;
    return g_current ? *g_current : real;
}

void TDialogs::SetCurrent(TDialogs* dialogs)
{
    g_current = dialogs;
}

QString TDialogs::QtFilter(const QString& filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList result;
    for (qsizetype i = 0; i < parts.size(); i += 2)
        result << parts.at(i);
    return result.join(QStringLiteral(";;"));
}
