# Checks of the resources in the built executables (string table, icon,
# version block, manifest) and the string lookup tests.
