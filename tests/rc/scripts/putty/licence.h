/*
 * Stand-in for the header PuTTY's build generates from its LICENCE file
 * (only the macro the resource script uses). Not part of the PuTTY sources.
 */
#define SHORT_COPYRIGHT_DETAILS "1997-2022 Simon Tatham"
