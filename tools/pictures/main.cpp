// Draws the program's pictures: the icon and the small images of the tabs,
// menus and buttons. Run once by hand; the PNGs it writes are kept in
// resources/, so the build does not need it.
//
//   quillmoor-pictures OUTPUT_FOLDER
#include <functional>
#include <iostream>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

namespace {

// Every picture is drawn on a 16 x 16 grid and scaled to its size.
using Draw = std::function<void(QPainter&)>;

const QColor kOutline(96, 64, 0);
const QColor kFolder(255, 208, 64);
const QColor kFolderLight(255, 236, 150);
const QColor kFolderDark(214, 160, 20);
const QColor kGrey(128, 128, 128);
const QColor kDarkGrey(72, 72, 72);

void Pen(QPainter& p, const QColor& c, double w = 1.0) { p.setPen(QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin)); }

void ClosedFolder(QPainter& p, const QColor& body, const QColor& tab) {
  Pen(p, kOutline, 0.8);
  p.setBrush(tab);
  p.drawRoundedRect(QRectF(1.5, 3.5, 5.5, 2.5), 0.8, 0.8);
  p.setBrush(body);
  p.drawRoundedRect(QRectF(1.5, 5, 13, 8.5), 0.8, 0.8);
  Pen(p, QColor(255, 255, 255, 160), 0.8);
  p.drawLine(QPointF(2.5, 6.2), QPointF(13.5, 6.2));
}

void OpenFolder(QPainter& p) {
  Pen(p, kOutline, 0.8);
  p.setBrush(kFolderDark);
  QPainterPath back;
  back.moveTo(1.5, 13.5);
  back.lineTo(1.5, 3.5);
  back.lineTo(5.5, 3.5);
  back.lineTo(6.5, 5);
  back.lineTo(12.5, 5);
  back.lineTo(12.5, 7.5);
  back.lineTo(1.5, 13.5);
  p.drawPath(back);
  p.setBrush(kFolder);
  QPainterPath front;
  front.moveTo(1.5, 13.5);
  front.lineTo(4.2, 7.5);
  front.lineTo(15.2, 7.5);
  front.lineTo(12.5, 13.5);
  front.closeSubpath();
  p.drawPath(front);
}

void GreyArrow(QPainter& p) {
  Pen(p, kDarkGrey, 0.8);
  p.setBrush(QColor(170, 170, 170));
  QPainterPath arrow;  // pointing right, out of the folder
  arrow.moveTo(7, 8);
  arrow.lineTo(11, 8);
  arrow.lineTo(11, 6);
  arrow.lineTo(15.2, 9.8);
  arrow.lineTo(11, 13.6);
  arrow.lineTo(11, 11.6);
  arrow.lineTo(7, 11.6);
  arrow.closeSubpath();
  p.drawPath(arrow);
}

void MagnifyingGlass(QPainter& p) {
  Pen(p, QColor(60, 40, 20), 2.2);
  p.drawLine(QPointF(11.8, 11.8), QPointF(14.8, 14.8));
  Pen(p, QColor(40, 40, 40), 1.0);
  p.setBrush(QColor(190, 225, 255, 220));
  p.drawEllipse(QPointF(9.5, 9.5), 3.4, 3.4);
  Pen(p, QColor(255, 255, 255), 0.8);
  p.drawArc(QRectF(7.4, 7.4, 3.2, 3.2), 100 * 16, 80 * 16);
}

void Brush(QPainter& p, QPointF handle_end, QPointF ferrule, double bristle_angle, double scale) {
  // Blue handle, a grey band, yellow bristles fanning out below it.
  Pen(p, QColor(20, 40, 140), 2.2 * scale);
  p.drawLine(handle_end, ferrule);
  p.save();
  p.translate(ferrule);
  p.rotate(bristle_angle);
  p.scale(scale, scale);
  Pen(p, kDarkGrey, 0.6);
  p.setBrush(QColor(190, 190, 200));
  p.drawRect(QRectF(-1.8, -0.2, 3.6, 1.6));
  Pen(p, QColor(150, 110, 0), 0.6);
  p.setBrush(QColor(255, 220, 40));
  QPainterPath bristles;
  bristles.moveTo(-1.8, 1.4);
  bristles.lineTo(1.8, 1.4);
  bristles.lineTo(2.6, 5.0);
  bristles.lineTo(-2.6, 5.0);
  bristles.closeSubpath();
  p.drawPath(bristles);
  Pen(p, QColor(200, 150, 0), 0.4);
  for (double x : {-1.2, 0.0, 1.2}) p.drawLine(QPointF(x, 2.0), QPointF(x * 1.4, 4.6));
  p.restore();
}

void AppIcon(QPainter& p) {
  ClosedFolder(p, kFolderLight, QColor(255, 226, 120));
  Brush(p, QPointF(13.6, 1.4), QPointF(8.6, 7.6), 38, 1.0);
}

void ScanImage(QPainter& p) {
  ClosedFolder(p, kFolder, kFolderDark);
  MagnifyingGlass(p);
}

void RemoveImage(QPainter& p) {
  ClosedFolder(p, kFolder, kFolderDark);
  GreyArrow(p);
}

void CleanImage(QPainter& p) {
  // A grey tray, and a brush sweeping over it with a few specks of dust.
  Pen(p, kDarkGrey, 0.8);
  p.setBrush(QColor(176, 176, 176));
  QPainterPath tray;
  tray.moveTo(0.8, 11);
  tray.lineTo(15.2, 11);
  tray.lineTo(13.8, 14.6);
  tray.lineTo(2.2, 14.6);
  tray.closeSubpath();
  p.drawPath(tray);
  Pen(p, QColor(110, 110, 110), 1.0);
  p.drawPoint(QPointF(3.2, 9.8));
  p.drawPoint(QPointF(4.6, 8.8));
  Brush(p, QPointF(15.0, 0.6), QPointF(9.0, 5.2), 45, 1.3);
}

void HelpBook(QPainter& p) {
  Pen(p, QColor(50, 0, 70), 0.8);
  p.setBrush(QColor(240, 240, 230));
  p.drawRect(QRectF(3.5, 2.5, 10, 12));  // pages
  p.setBrush(QColor(128, 40, 160));
  p.drawRoundedRect(QRectF(2, 1.5, 10.5, 12.5), 0.8, 0.8);  // cover
  Pen(p, QColor(90, 20, 120), 1.0);
  p.drawLine(QPointF(3.6, 2), QPointF(3.6, 13.5));
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setBold(true);
  font.setPixelSize(10);
  p.setFont(font);
  Pen(p, QColor(255, 220, 0));
  p.drawText(QRectF(3.6, 1.8, 9, 12), Qt::AlignCenter, QStringLiteral("?"));
}

void ExitDisc(QPainter& p) {
  Pen(p, QColor(120, 0, 0), 0.8);
  QRadialGradient g(QPointF(6, 6), 8);
  g.setColorAt(0, QColor(255, 90, 80));
  g.setColorAt(1, QColor(200, 0, 0));
  p.setBrush(g);
  p.drawEllipse(QPointF(8, 8), 6.8, 6.8);
  Pen(p, Qt::white, 2.0);
  p.drawLine(QPointF(5.3, 5.3), QPointF(10.7, 10.7));
  p.drawLine(QPointF(10.7, 5.3), QPointF(5.3, 10.7));
}

void Floppy(QPainter& p) {
  Pen(p, QColor(10, 10, 40), 0.8);
  p.setBrush(QColor(40, 60, 140));
  QPainterPath body;
  body.moveTo(1.5, 1.5);
  body.lineTo(13, 1.5);
  body.lineTo(14.5, 3);
  body.lineTo(14.5, 14.5);
  body.lineTo(1.5, 14.5);
  body.closeSubpath();
  p.drawPath(body);
  p.setBrush(QColor(200, 200, 210));
  p.drawRect(QRectF(4, 1.5, 7.5, 4.5));  // shutter
  p.setBrush(QColor(40, 60, 140));
  p.drawRect(QRectF(8.5, 2.3, 1.8, 2.8));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(3.5, 8, 9, 6.5));  // label
  Pen(p, QColor(150, 150, 170), 0.6);
  p.drawLine(QPointF(4.5, 10), QPointF(11.5, 10));
  p.drawLine(QPointF(4.5, 12), QPointF(11.5, 12));
}

bool Save(const QString& folder, const QString& name, int size, const Draw& draw) {
  QImage image(size, size, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(size / 16.0, size / 16.0);
    draw(p);
  }
  // The bottom-left pixel stands for the transparent colour of a button
  // picture; keep it clear.
  image.setPixelColor(0, size - 1, Qt::transparent);
  if (!image.save(folder + "/" + name)) {
    std::cerr << "cannot write " << name.toStdString() << "\n";
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::cerr << "usage: quillmoor-pictures OUTPUT_FOLDER\n";
    return 2;
  }
  const QString out = QString::fromLocal8Bit(argv[1]);
  struct Picture {
    const char* name;
    int size;
    Draw draw;
  } pictures[] = {
      {"app16.png", 16, AppIcon},          {"app32.png", 32, AppIcon},           {"app48.png", 48, AppIcon},
      {"list0.png", 16, ScanImage},        {"list1.png", 16, RemoveImage},       {"list2.png", 16, CleanImage},
      {"list3.png", 16, HelpBook},         {"list4.png", 16, ExitDisc},          {"list5.png", 16, Floppy},
      {"list6.png", 16, OpenFolder},       {"button_browse.png", 16, OpenFolder}, {"button_remove.png", 16, RemoveImage},
      {"button_save.png", 16, Floppy},
  };
  bool ok = true;
  for (const Picture& pic : pictures) ok = Save(out, pic.name, pic.size, pic.draw) && ok;
  return ok ? 0 : 1;
}
