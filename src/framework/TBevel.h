#pragma once

#include <QWidget>

// A lowered one-pixel box frame (shadow top-left, highlight bottom-right), drawn through.
class TBevel : public QWidget
{
    Q_OBJECT

public:
    explicit TBevel(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
