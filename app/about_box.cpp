#include "app/about_box.h"

#include "widgets/named_widget.h"

#include <QLabel>

namespace tessaly {

namespace {

QLabel* Text(QWidget* parent, const char* name, const QString& text, const QRect& geometry, const QFont& font,
             const char* colour) {
    auto* label = Named(new QLabel(text, parent), name, geometry);
    label->setFont(font);
    label->setStyleSheet(QStringLiteral("color: %1").arg(QString::fromLatin1(colour)));
    return label;
}

QFont PixelFont(const char* family, int pixels, bool bold = false) {
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

}  // namespace

TfrAbout::TfrAbout(const std::string& installId, const std::string& versionText, QWidget* owner)
    : QDialog(owner, Qt::Tool) {
    setObjectName(QStringLiteral("TfrAbout"));
    setWindowTitle(QStringLiteral("About"));
    setFixedSize(268, 120);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    Text(this, "LabelTitle", QStringLiteral("Tessaly 2.0"), QRect(12, 8, 244, 30),
         PixelFont("Liberation Serif", 24, true), "black");
    Text(this, "LabelSubtitle", QStringLiteral("Razidedar ed Ozazar Uvizi"), QRect(12, 40, 244, 16),
         PixelFont("Liberation Sans", 12), "gray");
    Text(this, "LabelInstallId", QString::fromStdString(installId), QRect(12, 62, 244, 16),
         PixelFont("Liberation Mono", 11), "black");
    auto* build = Text(this, "LabelBuild", QStringLiteral("Build: ") + QString::fromStdString(versionText),
                       QRect(12, 96, 248, 16), PixelFont("Liberation Sans", 11), "black");
    build->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (owner) move(owner->frameGeometry().center() - rect().center());
}

void TfrAbout::mousePressEvent(QMouseEvent*) { accept(); }

void ShowAbout(const std::string& installId, const std::string& versionText, QWidget* owner) {
    TfrAbout box(installId, versionText, owner);
    box.exec();
}

}  // namespace tessaly
