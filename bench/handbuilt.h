// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

class QTemporaryDir;
class QWidget;

namespace bench {

// What the controls show: a picture and a folder with a few files and folders.
struct Material {
    QString picture;
    QString folder;
};

// The picture and the folder, made in dir.
Material makeMaterial(const QTemporaryDir &dir);

// A script of a CreateWindow line and count controls of the eleven kinds in
// turn, named c0, c1, ...; CR LF line breaks.
QByteArray scriptOf(int count, const Material &material);

// The window the script builds, made by naive hand-written Qt: shown first,
// then one widget after the other, each shown as it is made.
QWidget *buildWindowDirectly(int count, const Material &material);

} // namespace bench
