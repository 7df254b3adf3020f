// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QPointF>
#include <QTransform>

#include <cmath>

namespace zelbrook::test {

// Plays a Lottie file's values at a frame as a player does, from the
// file's own keyframes: holds, and eases by the cubic Bézier each keyframe
// gives, found by halving rather than by any formula of the program.
class LottiePlayer
{
public:
    explicit LottiePlayer(const QByteArray &bytes)
        : m_file(QJsonDocument::fromJson(bytes).object())
    {}

    const QJsonObject &file() const { return m_file; }

    // The property's numbers at the frame; a path gives its vertices' x and
    // y in turn.
    static QList<double> value(const QJsonObject &property, double frame)
    {
        const QJsonValue k = property["k"];
        if (property["a"].toInt() == 0)
            return numbers(k);
        const QJsonArray keys = k.toArray();
        qsizetype i = 0;
        while (i + 1 < keys.size() && keys[i + 1]["t"].toDouble() <= frame)
            ++i;
        const QJsonObject key = keys[i].toObject();
        const QList<double> from = numbers(key["s"]);
        if (key["h"].toInt() == 1 || i + 1 == keys.size() || frame <= key["t"].toDouble())
            return from;
        const QJsonObject next = keys[i + 1].toObject();
        const double x = (frame - key["t"].toDouble()) / (next["t"].toDouble() - key["t"].toDouble());
        const double eased =
            ease(x, first(key["o"]["x"]), first(key["o"]["y"]), first(key["i"]["x"]), first(key["i"]["y"]));
        const QList<double> to = numbers(next["s"]);
        QList<double> between;
        for (qsizetype n = 0; n < from.size(); ++n)
            between.append(from[n] + (to[n] - from[n]) * eased);
        return between;
    }

    // The transform of a layer's own units into its parent's.
    static QTransform transform(const QJsonObject &layer, double frame)
    {
        const QJsonObject ks = layer["ks"].toObject();
        const QList<double> p = value(ks["p"].toObject(), frame), a = value(ks["a"].toObject(), frame);
        const QList<double> s = value(ks["s"].toObject(), frame);
        QTransform t;
        t.translate(p[0], p[1]);
        t.rotate(value(ks["r"].toObject(), frame)[0]);
        t.scale(s[0] / 100, s[1] / 100);
        t.translate(-a[0], -a[1]);
        return t;
    }

    // A layer of a list, by its name.
    static QJsonObject layer(const QJsonArray &layers, const QString &name)
    {
        for (const QJsonValue &l : layers)
            if (l["nm"].toString() == name)
                return l.toObject();
        return {};
    }

    // A point of a layer in the units of the list's root, through its
    // parents.
    static QPointF place(const QJsonArray &layers, QJsonObject layer, QPointF at, double frame)
    {
        for (;;) {
            at = transform(layer, frame).map(at);
            if (!layer.contains("parent"))
                return at;
            const int parent = layer["parent"].toInt();
            for (qsizetype i = 0; i < layers.size(); ++i)
                if (layers[i]["ind"].toInt() == parent)
                    layer = layers[i].toObject();
        }
    }

    QJsonArray assetLayers(const QString &id) const
    {
        for (const QJsonValue &asset : m_file["assets"].toArray())
            if (asset["id"].toString() == id)
                return asset["layers"].toArray();
        return {};
    }

private:
    static double first(const QJsonValue &v) { return v.isArray() ? v[0].toDouble() : v.toDouble(); }

    static QList<double> numbers(const QJsonValue &v)
    {
        if (v.isDouble())
            return {v.toDouble()};
        if (v.isObject())
            return numbers(v["v"]);
        QList<double> out;
        for (const QJsonValue &item : v.toArray())
            out.append(numbers(item));
        return out;
    }

    static double bezier(double p, double c1, double c2)
    {
        return 3 * (1 - p) * (1 - p) * p * c1 + 3 * (1 - p) * p * p * c2 + p * p * p;
    }

    static double ease(double x, double ox, double oy, double ix, double iy)
    {
        double low = 0, high = 1;
        for (int i = 0; i < 60; ++i)
            (bezier((low + high) / 2, ox, ix) < x ? low : high) = (low + high) / 2;
        return bezier((low + high) / 2, oy, iy);
    }

    QJsonObject m_file;
};

} // namespace zelbrook::test
