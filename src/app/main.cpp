#include "app/Makewindow1.h"
#include "framework/TApplication.h"
#include "framework/TTranslation.h"

#include <QCoreApplication>

#include <memory>

int main(int argc, char* argv[])
{
    std::unique_ptr<TApplication> app;
    return TApplication::RunGuarded([&] {
        app = std::make_unique<TApplication>(argc, argv);
        app->SetTitle(QStringLiteral("Quilvoro"));
        Translation::LoadJapanese();
        TMakeForm1 form(QCoreApplication::applicationFilePath());
        form.CenterOnDesktop();
        form.show();
        return app->exec();
    });
}
