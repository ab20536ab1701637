// Who makes the program and where to reach them.
#pragma once

constexpr const wchar_t* MAKER_NAME = L"Bluecrane";
constexpr const wchar_t* PRODUCT_NAME = L"Trimlet";
// The maker's web host (written into saved pictures and the About box) and
// e-mail address (for translations). Placeholders until the maker has its own.
constexpr const wchar_t* MAKER_WEB_HOST = L"www.bluecrane.example";
constexpr const wchar_t* MAKER_MAIL = L"translations@bluecrane.example";
