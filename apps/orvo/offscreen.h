// The Qt Gui application the painting commands run on: the offscreen platform, no display.
#pragma once
#include <QGuiApplication>

#include <memory>

namespace orvo::cli {

std::unique_ptr<QGuiApplication> startOffscreen();

} // namespace orvo::cli
