#pragma once

// The sponsor banner below the board: every tick of the banner timer moves the rotation on and loads the
// banner's picture and web address afresh; a click on the banner opens that address.

namespace cantabola {

class FrmBingo;

// A tick of Timer1: the next count, the address from the banner's address file into BannerUrl, the picture
// into AniGIF1. Missing or broken files leave the banner blank or without a link; the rotation goes on.
void FrmBingo_Timer1_Timer(FrmBingo &main);

// A click on AniGIF1: opens BannerUrl, hidden, unless it is empty.
void FrmBingo_AniGIF1_Click(FrmBingo &main);

// Connects Timer1 and AniGIF1 to the two handlers. The timer's interval and start belong to start-up.
void installBanner(FrmBingo &main);

} // namespace cantabola
