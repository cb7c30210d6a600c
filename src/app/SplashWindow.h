#pragma once
#include <QPixmap>
#include <QWidget>

// frmSplash: the small picture shown while the table is created. It stays
// above other windows; a click opens sponsor page 1.
class SplashWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int side = 125;

    explicit SplashWindow(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void Form_Load();

    QPixmap picture;
};
