#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <array>
#include <vector>

// Reading the live view's main window from a picture of the screen, as an onlooker would:
// which camera's picture each video cell shows, which state each device's tree icon tells,
// and whether the skinned buttons stand where the window's table puts them. For the program's
// real-window test, its start-up benchmark and the demo's report.

// The video rectangles (screen) of the grid's first cells at a layout, the window's client
// area starting at window_origin.
std::vector<QRect> GridVideoRects(QPoint window_origin, int layout);

// The camera (channel 0..15 of a recorder of the emulator) whose picture fills the rectangle,
// by the picture's own colour; -1 when it shows none (an empty cell).
int ChannelOfPicture(const QImage& screen, const QRect& video_rect);

// How closely the rectangle shows the emulator's picture of the channel (its colour and its
// camera number, the moving bar left out), drawn at width x height and scaled into it: the
// share of pixels that agree, 0..1.
double PictureMatch(const QImage& screen, const QRect& video_rect, int channel, int width_px,
                    int height_px);

// A fingerprint of the moving bar of the picture in the rectangle: changes with every new
// picture of a running stream.
quint64 BarFingerprint(const QImage& screen, const QRect& video_rect);

// The tree's item icons from top to bottom, as image-list numbers (0 root, 1 user, 2 idle,
// 3 super user), matched against the icons' files; icons of the installed tree's res/.
// positions, when given, gets each icon's middle on the screen, where a click selects its item.
std::vector<int> TreeImages(const QImage& screen, QPoint window_origin,
                            const std::array<QImage, 4>& icons,
                            std::vector<QPoint>* positions = nullptr);

// The skinned buttons of the table that the screen shows other than their art says: ids of
// those that differ from every state image of theirs (skin folder skin1/), so a button moved
// by one pixel or missing is caught. hidden lists the ids the window hides at that moment.
std::vector<int> MisplacedButtons(const QImage& screen, QPoint window_origin,
                                  const QString& skin_folder, const std::vector<int>& hidden);
