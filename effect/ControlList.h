#pragma once

#include "effect/ControlDescriptor.h"

#include <cstdint>

// The ordered controls of one effect. Each node owns a full copy of the
// descriptor it was given; a control's position is its order of appending.
class ControlList
{
public:
    ControlList();
    ~ControlList();

    // Appends a copy at the tail. False when the node could not be allocated.
    bool appendControl(const ControlDescriptor& descriptor);
    int controlCount() const;
    // Null when position is past the end (or negative).
    ControlDescriptor* controlAt(int position) const;
    // Unlinks and deletes the first node with this controlId; no match, no change.
    void removeControl(uint32_t controlId);
    // Deletes every node.
    void clear();
    bool isEmpty() const { return head == nullptr; }

private:
    struct Node
    {
        ControlDescriptor descriptor;
        Node* next;
    };

    ControlList(const ControlList&) = delete;
    ControlList& operator=(const ControlList&) = delete;

    Node* head;
};
