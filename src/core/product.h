// The product's name as its windows and messages show it, and its addresses on the web.
#pragma once

namespace vk {

constexpr const char* kAppTitle = "Vintrosk!";
constexpr const char* kProductWebAddress = "https://vintrosk.example/";
// The product's own page on its web site, which the help window's web link opens.
constexpr const char* kProductPage = "https://vintrosk.example/vintrosk/";
// The support address as the help window's mail link opens it; the link shows the address
// alone (res/help.rc).
constexpr const char* kSupportMailTo = "mailto:support@vintrosk.example";

} // namespace vk
