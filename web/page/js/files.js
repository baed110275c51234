// SPDX-License-Identifier: GPL-3.0-or-later
// Files in and out: a saved case opened through the browser's file picker, and the case and the
// pictures saved as downloads.

// Hands bytes to the browser as a download under a file name.
export function download(bytes, name, type) {
  const blob = bytes instanceof Blob ? bytes : new Blob([bytes], { type });
  const url = URL.createObjectURL(blob);
  const link = document.createElement('a');
  link.href = url;
  link.download = name;
  link.hidden = true;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), 60000);
}

// The bytes of the file the student picks, or null when the picker is cancelled.
export function pickFile(input) {
  return new Promise((resolve) => {
    const done = async () => {
      input.removeEventListener('change', done);
      const file = input.files && input.files[0];
      input.value = ''; // the same file can be opened again
      resolve(file ? new Uint8Array(await file.arrayBuffer()) : null);
    };
    input.addEventListener('change', done);
    input.click();
  });
}

// A PNG file of RGBA pixels, through the browser's own encoder.
export function encodePng(image) {
  const canvas = document.createElement('canvas');
  canvas.width = image.width;
  canvas.height = image.height;
  canvas.getContext('2d').putImageData(image, 0, 0);
  return new Promise((resolve, reject) => {
    canvas.toBlob((blob) => (blob ? resolve(blob) : reject(new Error('Stream write error'))), 'image/png');
  });
}
