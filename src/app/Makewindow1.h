#pragma once

#include <QWidget>

class QObject;

// The one main window: a borderless, skinned form that drags by its own surface.
class TMakeForm1 : public QWidget
{
    Q_OBJECT

public:
    // `programPath` is argument 0 of the command line: the window's folder and the program
    // name of the information page come from it.
    explicit TMakeForm1(const QString& programPath, QWidget* parent = nullptr);
    ~TMakeForm1() override;

    static constexpr int kClientWidth = 802;
    static constexpr int kClientHeight = 493;

    QString AppDir() const { return FAppDir; }
    // The address of the maker's information page for this program.
    QString InformationAddress() const;

    // Places the window at the centre of its screen.
    void CenterOnDesktop();

    void SSButton11Click(QObject* Sender);
    void SpeedButton5Click(QObject* Sender);
    void ShineSpeedButton4Click(QObject* Sender);
    void SpeedButton4Click(QObject* Sender);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    bool FActionDone = false;
    QString FAppDir;
    QString FProgramPath;
};

// The one instance, reachable by the handlers as the window itself.
extern TMakeForm1* MakeForm1;
