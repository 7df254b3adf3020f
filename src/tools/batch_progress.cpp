// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/batch_progress.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace zelbrook {

thread_local BatchProgress::OpenInput BatchProgress::t_input;

namespace {

constexpr int kBarWidth = 20;
constexpr std::chrono::milliseconds kRedrawInterval(100);
// Moves to the line's start and clears it.
constexpr std::string_view kClearLine = "\r\033[K";

std::string minutesAndSeconds(double seconds)
{
    const long whole = std::lround(seconds);
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
    return text;
}

} // namespace

BatchProgress::BatchProgress(QIODevice &standardError, std::size_t inputs, bool showBar)
    : m_standardError(standardError)
    , m_uncounted(inputs)
    , m_showBar(showBar)
    , m_start(std::chrono::steady_clock::now())
{}

void BatchProgress::message(const std::string &text)
{
    const std::lock_guard lock(m_mutex);
    writeLocked((m_barShown ? std::string(kClearLine) : std::string()) + text + "\n" + (m_barShown ? m_bar : ""));
}

void BatchProgress::inputCounted(std::size_t frames)
{
    t_input.counted = true;
    t_input.open += frames;
    m_total += frames;
    --m_uncounted;
    tellIfAllDone();
}

void BatchProgress::framesDone(std::size_t frames)
{
    t_input.open -= std::min(frames, t_input.open);
    m_done += frames;
    tellIfAllDone();
}

void BatchProgress::inputStarted() { t_input = {}; }

void BatchProgress::frameHandedOver() { t_input.open -= std::min<std::size_t>(1, t_input.open); }

void BatchProgress::inputGivenUp()
{
    if (!t_input.counted)
        inputCounted(1);
    framesDone(t_input.open);
}

bool BatchProgress::allDone() const { return m_uncounted.load() == 0 && m_done.load() >= m_total.load(); }

void BatchProgress::tellIfAllDone()
{
    if (allDone()) {
        const std::lock_guard lock(m_mutex);
        m_allDone.notify_all();
    }
}

void BatchProgress::waitUntilDone()
{
    std::unique_lock lock(m_mutex);
    while (!m_allDone.wait_for(lock, kRedrawInterval, [this] { return allDone(); })) {
        if (!m_showBar)
            continue;
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - m_start;
        // An input not read yet stands for one frame.
        m_bar = barLine(m_done.load(), m_total.load() + m_uncounted.load(), elapsed.count());
        writeLocked(std::string(kClearLine) + m_bar);
        m_barShown = true;
    }
    if (m_barShown)
        writeLocked(std::string(kClearLine));
    m_barShown = false;
}

std::string BatchProgress::barLine(std::size_t done, std::size_t total, double seconds)
{
    const std::size_t filled = total == 0 ? kBarWidth : done * kBarWidth / total;
    std::string line(1, '[');
    line.append(filled, '#');
    line.append(kBarWidth - filled, ' ');
    line += "]  ";
    line += std::to_string(done) + "/" + std::to_string(total) + "  ";
    if (done == 0 || !(seconds > 0.0))
        return line + "-- frames/s  -:-- left";
    const double rate = static_cast<double>(done) / seconds;
    char rateText[32];
    std::snprintf(rateText, sizeof rateText, "%.1f", rate);
    return line + rateText + " frames/s  " + minutesAndSeconds(static_cast<double>(total - done) / rate) + " left";
}

void BatchProgress::writeLocked(const std::string &text)
{
    m_standardError.write(text.data(), static_cast<qint64>(text.size()));
}

} // namespace zelbrook
