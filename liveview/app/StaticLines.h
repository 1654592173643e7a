#pragma once

#include <QStringList>
#include <QWidget>

// A static text of several lines, each 12 pixels below the last whatever the face's own line
// spacing, cut at the widget's edges: eight lines fill 96 pixels, as the layouts expect.
class StaticLines : public QWidget {
    Q_OBJECT

public:
    static constexpr int kLineStep_px = 12;

    explicit StaticLines(QWidget* parent = nullptr);

    void SetLines(const QStringList& lines);
    const QStringList& Lines() const { return lines_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QStringList lines_;
};
