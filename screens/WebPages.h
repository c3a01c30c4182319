// The web pages the information screens open: the data set's own pages under data\web\, opened in the desktop's
// browser as file:// addresses of the install folder, so nothing reaches the network.
#pragma once

#include <string>

enum class WebPage { Game, Stores, Tournament };

// The address of a page; the game's page has a second, Italian edition for language 6.
std::u16string GetWebPageAddress(WebPage page);
// Opens the page; a failure is logged once and the program goes on.
void OpenWebPage(WebPage page);
