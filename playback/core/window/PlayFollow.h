#pragma once

// When the play slider and the time picker move to the play time (every 300 ms while the
// recorder streams and the slider is not dragged).
//
// The rule: the distance between the slider's position and the play time's position is
// measured against a fiftieth of the slider's range (28 minutes for a day). Closer, the play
// time moves on as playback runs, and the controls follow it on every look. Farther, the play
// time has jumped away from where the slider stands: right after a seek it is still the time
// of frames sent before the new request, so the controls wait, and follow only on every
// fourth such look in a row (about a second), by which time the new stream's frames have
// taken over; a distance that lasts (a day played from elsewhere) is followed all the same.
class CPlayFollow {
public:
    static constexpr int kRangeDivisor = 50;
    static constexpr int kFarLooks = 4;

    // True when the controls move to target_pos now.
    bool ShouldFollow(int slider_pos, int target_pos, int range_minimum, int range_maximum);

private:
    int far_looks_ = 0;
};
