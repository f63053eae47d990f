// Marks what the shared libraries export. They are built with hidden visibility, so a class or
// function without CORVENDI_API is not in their dynamic symbol table and no host can link to it.
// The mark also gives exceptions and seam classes one type identity across the library boundary,
// so a host catches corvendi::Error and derives from ScoreEvents, Surface or Platform.
#pragma once

#if defined(__GNUC__) || defined(__clang__)
#define CORVENDI_API __attribute__((visibility("default")))
#else
#define CORVENDI_API
#endif
