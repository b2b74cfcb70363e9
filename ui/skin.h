#pragma once

#include <memory>

#include <QImage>
#include <QString>

// Decodes the PNG at path; a null image when it cannot.
QImage ReadPng(const QString& path);

// Loads compiled-in PNG `nResourceId` into `slot`, ready to paint (premultiplied). On a screen
// of more than one device pixel per logical pixel (`dpr`) the image with twice the pixels is
// taken where there is one, marked with device pixel ratio 2, so its logical size is the
// same. On failure (no such resource, bytes that do not decode) the slot keeps what it held
// and the result is false.
bool LoadPngResource(unsigned nResourceId, std::unique_ptr<QImage>& slot, qreal dpr = 1.0);
