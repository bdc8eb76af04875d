// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/frame_trace.h"

#include "app/application.h"
#include "objects/hero.h"
#include "platform/data_file.h"
#include "world/world.h"

FRAME_TRACE::~FRAME_TRACE() {
    Close();
}

bool FRAME_TRACE::Close() {
    Failed = !FILES::FinishWriting(File, Failed);
    File = nullptr;
    return !Failed;
}

bool FRAME_TRACE::Open(const std::string& path) {
    File = std::fopen(path.c_str(), "w");
    if (!File) {
        return false;
    }
    Failed = std::fputs("frame,state,level,x,y,vx,vy,health,lives,score,objects,zoom\n", File) < 0;
    return true;
}

std::string FRAME_TRACE::Line(int64_t frame, const APPLICATION& app) {
    const HERO* h = app.Hero;
    size_t objects = app.World ? app.World->ObjectList.size() : 0;
    char line[256];
    std::snprintf(line, sizeof line, "%lld,%d,%d,%.6g,%.6g,%.6g,%.6g,%.6g,%d,%d,%zu,%.6g",
                  static_cast<long long>(frame), app.GameState, app.Level, h ? h->Position.x : 0.0f,
                  h ? h->Position.y : 0.0f, h ? h->Velocity.x : 0.0f, h ? h->Velocity.y : 0.0f,
                  h ? h->Health : 0.0f, h ? h->Lives : 0, h ? h->Score : 0, objects, app.Zoom);
    return line;
}

void FRAME_TRACE::Frame(int64_t frame, const APPLICATION& app) {
    if (!File) {
        return;
    }
    Failed |= std::fputs(Line(frame, app).c_str(), File) < 0;
    Failed |= std::fputc('\n', File) == EOF;
}
