#include "framework/TColorDialog.h"

#include "framework/TDialogs.h"

bool TColorDialog::Execute(QWidget* parent)
{
    const std::optional<TColor> chosen = TDialogs::Current().ChooseColor(parent, FColor);
    if (!chosen)
        return false;
    FColor = *chosen;
    return true;
}
