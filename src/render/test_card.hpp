#pragma once
// A test card for the renderer: one screen with sprites from both sheets, numbers in both
// fonts, a panel, tinted, translucent and mirrored sprites, a textured quad, a textured mesh
// and both spheres. The headless runner shows it in place of the title to check a build's
// picture.

namespace tessaly {

// Takes the title's slot; 0 if it is in use.
int test_card_create();

}  // namespace tessaly
