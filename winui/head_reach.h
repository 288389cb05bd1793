#pragma once
// Rows and sliders a head-driven cursor can work: a dwell may wander a couple of dozen pixels, so every
// list the user picks from by dwell has rows at least 24 pixels high at 96 DPI, scaled with
// the DPI of the monitor the list is on.
#include <windows.h>

namespace winui {

constexpr int kHeadRowPixels = 24;  // at 96 DPI

int HeadRowHeight(HWND window);
// Makes the rows of a drop-down list (plain or extended), a list box or a report list view
// at least HeadRowHeight; the field of a drop-down list too. Rows already taller stay.
void EnlargeRows(HWND list);

// The most rests on a slider's track that any position needs, one page each.
constexpr int kHeadPagesPerSlider = 10;
// Sets a slider's range and a page that crosses it in at most kHeadPagesPerSlider rests.
void SetSliderRange(HWND slider, int low, int high);
// The id of the slider that let the mouse go, with its position, or 0 for any other message.
// A drag ends so and so does a rest on the track (a click that moves one page), so this is
// where every slider stores its value; a thumb moved by the program or a key changes nothing.
int ReleasedSlider(UINT msg, LPARAM lp, int* position);

}  // namespace winui
