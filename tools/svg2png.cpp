// Pecunette — apprendre à remplir un chèque.
// Renders an SVG picture to a PNG of the size asked for, on a transparent
// background: the desktop icons are made from the scalable one at build time.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 4 && argc != 5) {
        std::fprintf(stderr, "usage : svg2png IMAGE.svg IMAGE.png LARGEUR [HAUTEUR]\n");
        return 2;
    }
    // Text in a picture needs the font database, which needs a platform: no screen is used.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.isValid()) {
        std::fprintf(stderr, "svg2png : %s n'est pas une image SVG lisible\n", argv[1]);
        return 1;
    }
    const int width = QByteArray(argv[3]).toInt();
    const int height = argc == 5 ? QByteArray(argv[4]).toInt() : width;
    if (width <= 0 || height <= 0) {
        std::fprintf(stderr, "svg2png : taille invalide\n");
        return 2;
    }
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        svg.render(&painter, QRectF(0, 0, width, height));
    }
    if (!image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "svg2png : impossible d'écrire %s\n", argv[2]);
        return 1;
    }
    return 0;
}
