// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "framework/TAlign.h"

#include <QVariant>
#include <QWidget>

namespace Align {

namespace {

constexpr const char* kProperty = "quilvoroAlign";

} // namespace

void Set(QWidget* child, TAlign align)
{
    child->setProperty(kProperty, int(align));
}

TAlign Of(const QWidget* child)
{
    return TAlign(child->property(kProperty).toInt());
}

void Arrange(QWidget* parent, QRect client)
{
    const auto children = parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    // Tops first, then bottoms, lefts, rights and the client, each in creation order.
    for (TAlign pass : {alTop, alBottom, alLeft, alRight, alClient}) {
        for (QWidget* child : children) {
            if (Of(child) != pass)
                continue;
            switch (pass) {
            case alTop:
                child->setGeometry(client.left(), client.top(), client.width(), child->height());
                client.setTop(client.top() + child->height());
                break;
            case alBottom:
                child->setGeometry(client.left(), client.bottom() + 1 - child->height(),
                                   client.width(), child->height());
                client.setBottom(client.bottom() - child->height());
                break;
            case alLeft:
                child->setGeometry(client.left(), client.top(), child->width(), client.height());
                client.setLeft(client.left() + child->width());
                break;
            case alRight:
                child->setGeometry(client.right() + 1 - child->width(), client.top(),
                                   child->width(), client.height());
                client.setRight(client.right() - child->width());
                break;
            case alClient:
                child->setGeometry(client);
                break;
            case alNone:
                break;
            }
        }
    }
}

} // namespace Align
