// SPDX-License-Identifier: GPL-3.0-or-later
#include "splash.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

namespace {
constexpr int kPictureWidth = 168;
constexpr int kPictureHeight = 136;
// Client area 6012 x 4740 twips at 15 twips a pixel.
constexpr int kWidth = 6012 / 15;
constexpr int kHeight = 4740 / 15;

// A building entrance with its door panel, drawn rather than stored.
void drawEntrance(QPainter& p)
{
    QLinearGradient sky(0, 0, 0, kPictureHeight);
    sky.setColorAt(0, QColor(40, 70, 140));
    sky.setColorAt(1, QColor(150, 180, 220));
    p.fillRect(0, 0, kPictureWidth, kPictureHeight, sky);
    p.fillRect(14, 20, 140, 116, QColor(170, 120, 90));   // facade
    for (int x = 24; x < 150; x += 34)
        for (int y = 30; y < 70; y += 22)
            p.fillRect(x, y, 20, 14, QColor(230, 220, 150));   // windows
    p.fillRect(60, 80, 48, 56, QColor(90, 60, 40));   // door
    p.fillRect(83, 80, 2, 56, QColor(60, 40, 25));
    p.fillRect(116, 92, 18, 28, QColor(50, 50, 55));   // panel
    p.fillRect(119, 95, 12, 6, QColor(120, 220, 140));   // its display
    p.setPen(QColor(200, 200, 200));
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            p.drawPoint(120 + col * 5, 105 + row * 5);   // keypad
}

}   // namespace

QImage Splash::picture()
{
    QImage image(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    drawEntrance(painter);
    painter.end();
    return image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
}

Splash::Splash(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Form2"));
    setFixedSize(kWidth, kHeight);

    auto* layout = new QVBoxLayout(this);
    auto* image = new QLabel(this);
    image->setObjectName(QStringLiteral("Picture1"));
    image->setPixmap(QPixmap::fromImage(picture()));
    image->setAlignment(Qt::AlignCenter);
    layout->addWidget(image, 1);
    for (int i = 1; i <= 4; ++i) {
        auto* bar = new QProgressBar(this);
        bar->setObjectName(QStringLiteral("ProgressBar%1").arg(i));
        bar->setTextVisible(false);
        layout->addWidget(bar);
    }
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
}
