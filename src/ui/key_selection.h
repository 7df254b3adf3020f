// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/animation_document.h"

namespace zelbrook {

// The run of keys a view of the keys selects: from the key last chosen
// without extending, its anchor, to the current key. The anchor goes to the
// current key whenever keys come, go or move, or anyone else chooses a key;
// a change of the keys' content, timing or order within the run keeps it.
class KeySelection
{
public:
    enum class Choice { Alone, Extending };

    explicit KeySelection(AnimationDocument &document)
        : m_document(document)
    {}

    KeyRun run() const;
    void setAnchor(std::size_t anchor) { m_anchor = anchor; }
    // Makes the key current; extending keeps the anchor where it is.
    void choose(std::size_t key, Choice choice);
    void follow(const AnimationChange &change);

private:
    AnimationDocument &m_document;
    std::size_t m_anchor = 0;
    // Set while an extending choice moves the current key.
    bool m_extending = false;
};

} // namespace zelbrook
