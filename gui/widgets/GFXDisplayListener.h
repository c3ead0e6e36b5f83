#pragma once

class GFXDisplay;

/** Hears the edits of a text display; the display never writes its parameter itself. */
class GFXDisplayListener
{
public:
    virtual ~GFXDisplayListener() = default;

    /** The user finished an edit that changed the text. */
    virtual void displayTextChanged (GFXDisplay* display) = 0;
};
