// Anchor of the resource library; the pictures are added to it with qt_add_resources.
