// A header of the clock.
#pragma once
