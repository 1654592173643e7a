#pragma once

#include <QColor>
#include <QFont>
#include <QWidget>
#include <cstdint>
#include <string>

// The one-line display of the skinned windows: a text in a seven-segment face, light on a
// coloured ground, cut to the label's width in bytes.
class CSegmentLabel : public QWidget {
    Q_OBJECT

public:
    static constexpr int kMinWidth_chars = 2;
    static constexpr int kMaxWidth_chars = 200;

    explicit CSegmentLabel(QWidget* parent = nullptr);

    // Stores the text (UTF-8), cut to the width, and repaints.
    void SetText(const std::string& text);
    // The text becomes " h:m:s" from bytes 4, 3 and 2 of value (each "%2d"), uncut and without
    // a repaint.
    void FormatTime(std::uint64_t value);
    // New font size, colours (0x00BBGGRR; 0 keeps the colour set before) and width in
    // characters (kept within 2..200). The stored text is cut again only by the next
    // SetText. Returns 1.
    int SetFont(int char_width_px, int char_height_px, std::uint32_t text_colour,
                std::uint32_t background_colour, int width_chars);

    const std::string& Text() const { return text_; }
    QColor TextColour() const { return text_colour_; }
    QColor BackgroundColour() const { return background_colour_; }
    int WidthChars() const { return width_chars_; }
    const QFont& SegmentFont() const { return font_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    static QFont MakeFont(int char_width_px, int char_height_px);

    QFont font_;
    std::string text_;
    QColor background_colour_;
    QColor text_colour_;
    int width_chars_ = 18;
};
